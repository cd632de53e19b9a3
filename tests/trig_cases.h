// Arguments that sine and cosine must get right to the bit, shared by the
// tests of the functions and of their two routes.

#ifndef MEMSPEC_TESTS_TRIG_CASES_H
#define MEMSPEC_TESTS_TRIG_CASES_H

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "mem/mem.h"

// Equal to the bit: signed zeros apart, and any NaN equal to any NaN.
inline bool same(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, &a, sizeof a);
    std::memcpy(&y, &b, sizeof b);
    return x == y;
}

// Zeros, subnormals, the edges of the normal range, infinities, NaN, the
// multiples of pi the table touches and the largest angle of the spectrum;
// the first half positive, the second their negations in the same order.
inline std::vector<double> special_arguments()
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> args = {0.0,
                                0x1p-1074,
                                0x1p-1022 * 0.75,
                                DBL_MIN,
                                1e-300,
                                0x1p-30,
                                0.5,
                                1.0,
                                2.0,
                                3.0,
                                10.0,
                                100.0,
                                1e22,
                                1e300,
                                0x1p1023,
                                DBL_MAX,
                                inf,
                                nan,
                                PI_CONST,
                                2.0 * PI_CONST,
                                PI_CONST / 2.0,
                                38.0 * omega(240.0, 1.0 / 240.0)};
    const std::size_t k = args.size();
    for (std::size_t i = 0; i < k; ++i)
        args.push_back(-args[i]);
    return args;
}

#endif
