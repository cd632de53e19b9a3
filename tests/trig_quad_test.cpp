// The binary128 route against MPFR's, where the host has both: the same
// double wherever it does not refuse, and no refusal on an angle of the run;
// and its rounding check refusing every value on or near a midpoint.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "mem/mem.h"
#include "support/nomem.h"
#include "tests/same_bits.h"
#include "tests/stdout_to.h"
#include "trig/quad.h"
#include "trig/trig.h"

namespace {

using trig::quad;

const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

// Refusals and disagreements of the binary128 route with MPFR's on args.
struct tally {
    int refused = 0;
    int differ = 0;
};

tally compare(const std::vector<double>& args)
{
    tally t;
    for (const double a : args) {
        double s = 0.0;
        double c = 0.0;
        double ms = 0.0;
        double mc = 0.0;
        trig::sincos_mpfr(a, &ms, &mc);
        if (!trig::sincos_proven(a, &s, &c)) {
            ++t.refused;
            continue;
        }
        if (same(s, ms) && same(c, mc))
            continue;
        if (++t.differ <= 10)
            ADD_FAILURE() << std::hexfloat << "a = " << a << ": " << s << ", " << c
                          << " against MPFR's " << ms << ", " << mc;
    }
    return t;
}

TEST(trig_quad, equals_mpfr_and_never_refuses_on_the_angles_of_the_run)
{
    static run r;
    {
        const stdout_to q;
        analyse(&r);
    }
    // every angle mk_dat and mem_1 take the sine or cosine of
    std::vector<double> args;
    for (int i = 1; i <= r.n_data; ++i)
        for (const double p : tone_period)
            args.push_back(tone_angle(i, r.dt, p));
    for (int i = 1; i <= r.n_data; ++i)
        for (int j = 1; j <= r.max_order; ++j)
            args.push_back(static_cast<double>(j) * omega(r.f[i], r.dt));
    ASSERT_EQ(args.size(), 964u + 9158u);
    const tally t = compare(args);
    EXPECT_EQ(t.refused, 0);
    EXPECT_EQ(t.differ, 0);
}

TEST(trig_quad, equals_mpfr_wherever_it_does_not_refuse)
{
    std::vector<double> args = {0.0,
                                -0.0,
                                inf,
                                -inf,
                                nan,
                                -nan,
                                DBL_MAX,
                                -DBL_MAX,
                                DBL_MIN,
                                -DBL_MIN,
                                0x1p-1074,
                                -0x1p-1074,
                                DBL_MIN - 0x1p-1074};
    // a million bit patterns: both signs, every binade, subnormals and NaNs
    std::mt19937_64 bits(20261209);
    for (int k = 0; k < 1000000; ++k) {
        const std::uint64_t b = bits();
        double a = 0.0;
        std::memcpy(&a, &b, sizeof a);
        args.push_back(a);
    }
    const tally t = compare(args);
    EXPECT_EQ(t.differ, 0);
    // a refusal needs a value within 2^-100 of a midpoint: about one chance
    // in 2^46 for each of these two million
    EXPECT_EQ(t.refused, 0);
    RecordProperty("refused", t.refused);

    double s = 1.0;
    double c = 0.0;
    ASSERT_TRUE(trig::sincos_proven(-0.0, &s, &c));
    EXPECT_TRUE(same(s, -0.0) && c == 1.0);
    ASSERT_TRUE(trig::sincos_proven(-inf, &s, &c));
    EXPECT_TRUE(std::isnan(s) && std::isnan(c));
}

// The rounding check on values placed on a midpoint m between two doubles,
// and at k times the error bound from it: it refuses within the bound, and
// outside it gives the double on the value's side.
TEST(trig_quad, refuses_every_value_within_the_bound_of_a_midpoint)
{
    const struct {
        const char* what;
        double lo, hi; // the two doubles m lies between
    } cases[] = {
        {"in a binade", 1.0, 1.0 + 0x1p-52},
        {"below a power of two", 1.0 - 0x1p-53, 1.0},
        {"negative", -1.0 - 0x1p-52, -1.0},
        {"subnormal", 0x1p-1074, 0x1p-1073},
        {"at zero", 0.0, 0x1p-1074},
        {"at the top of the subnormals", DBL_MIN - 0x1p-1074, DBL_MIN},
        {"small and normal", 0x1.8p-1000, 0x1.8p-1000 + 0x1p-1052},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        const quad m = (static_cast<quad>(k.lo) + static_cast<quad>(k.hi)) / 2;
        const quad e = static_cast<quad>(0x1p-100) * (m < 0 ? -m : m);
        const struct {
            double by; // multiples of the bound from m
            bool proven;
        } steps[] = {{0.0, false}, {0.5, false},  {-0.5, false},  {0.99, false},  {-0.99, false},
                     {1.01, true}, {-1.01, true}, {0x1p40, true}, {-0x1p40, true}};
        for (const auto& st : steps) {
            const quad q = m + static_cast<quad>(st.by) * e;
            double d = 42.0;
            EXPECT_EQ(trig::round_once(q, &d), st.proven) << st.by << " bounds from m";
            if (st.proven)
                EXPECT_TRUE(same(d, st.by < 0 ? k.lo : k.hi)) << st.by << ": " << d;
            else
                EXPECT_EQ(d, 42.0) << "written though refused";
        }
    }
}

// A rounding that cannot be proven ends the run as a refused heap does, with
// "correct rounding failed" in Shift_JIS.
TEST(trig_quad, unproven_rounding_ends_the_run_with_its_message)
{
    EXPECT_EXIT(no_rounding(), testing::ExitedWithCode(1),
                "^\x90\xB3\x82\xB5\x82\xA2\x8A\xDB\x82\xDF\x82\xC9"
                "\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\n$");
}

} // namespace
