// The correctly rounded sine and cosine as functions, over the whole range of
// double, against MPFR at four times the precision rounded once to double.

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include <gmp.h>
#include <mpfr.h>

#include <gtest/gtest.h>

#include "mem/mem.h"
#include "tests/same_bits.h"
#include "trig/trig.h"

namespace {

// Zeros, subnormals, the edges of the normal range, infinities, NaN, the
// multiples of pi the table touches and the largest angle of the spectrum;
// the first half positive, the second their negations in the same order.
std::vector<double> special_arguments()
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

// f(a) at 212 bits, then rounded to nearest double. Rounding twice goes wrong
// only if the exact value lies within about 2^-212 (relative) of a midpoint
// between two doubles; the published searches for hard-to-round sines and
// cosines of doubles find none closer than about 2^-120.
double reference(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), double a)
{
    mpfr_t x, y;
    mpfr_inits2(212, x, y, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_d(x, a, MPFR_RNDN);
    f(y, x, MPFR_RNDN);
    const double r = mpfr_get_d(y, MPFR_RNDN);
    mpfr_clears(x, y, static_cast<mpfr_ptr>(nullptr));
    return r;
}

// GMP's allocator as it stands.
struct allocator {
    void* (*alloc)(std::size_t) = nullptr;
    void* (*realloc)(void*, std::size_t, std::size_t) = nullptr;
    void (*free)(void*, std::size_t) = nullptr;

    allocator()
    {
        mp_get_memory_functions(&alloc, &realloc, &free);
    }
    bool operator==(const allocator& o) const
    {
        return alloc == o.alloc && realloc == o.realloc && free == o.free;
    }
};

TEST(trig, correctly_rounded_everywhere_in_the_callers_range_with_one_allocator)
{
    // GMP's own allocator until the first call, which sets its own before
    // MPFR allocates anything, for good
    const allocator gmps;
    double s0 = 0.0;
    double c0 = 0.0;
    trig::sincos_mpfr(1.0, &s0, &c0);
    const allocator set;
    EXPECT_FALSE(set == gmps);

    const std::vector<double> args = special_arguments();
    const std::size_t k = args.size() / 2;
    std::vector<double> want_sin, want_cos;
    for (const double a : args) {
        want_sin.push_back(reference(mpfr_sin, a));
        want_cos.push_back(reference(mpfr_cos, a));
    }

    // a caller's range too narrow for double
    const mpfr_exp_t emin = mpfr_get_emin();
    const mpfr_exp_t emax = mpfr_get_emax();
    mpfr_set_emin(-100);
    mpfr_set_emax(100);
    // what the build takes
    std::vector<double> got_sin, got_cos, got_sin_only;
    for (const double a : args) {
        double s = 0.0;
        double c = 0.0;
        trig::sincos(a, &s, &c);
        got_sin.push_back(s);
        got_cos.push_back(c);
        got_sin_only.push_back(trig::sin(a));
    }
    EXPECT_EQ(mpfr_get_emin(), -100);
    EXPECT_EQ(mpfr_get_emax(), 100);
    EXPECT_TRUE(allocator() == set);
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
    for (std::size_t i = 0; i < args.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "a = " << std::hexfloat << args[i]);
        EXPECT_TRUE(same(got_sin[i], want_sin[i])) << got_sin[i] << " != " << want_sin[i];
        EXPECT_TRUE(same(got_cos[i], want_cos[i])) << got_cos[i] << " != " << want_cos[i];
        EXPECT_TRUE(same(got_sin_only[i], want_sin[i])) << got_sin_only[i];
    }
    // the exact cases the table rests on
    EXPECT_TRUE(same(got_sin[0], 0.0) && same(got_sin[k], -0.0) && got_cos[k] == 1.0);
    EXPECT_TRUE(same(got_sin[1], 0x1p-1074) && same(got_sin[k + 1], -0x1p-1074));
}

} // namespace
