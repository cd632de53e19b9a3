#ifndef MEMSPEC_TESTS_SAME_BITS_H
#define MEMSPEC_TESTS_SAME_BITS_H

#include <cmath>
#include <cstdint>
#include <cstring>

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

#endif
