// LLVM's sin, cos and sincos, as the build takes them from an archive,
// against MPFR's route bit for bit: the program prints the same bytes
// whichever it takes. The hard cases are arguments whose sine or cosine lies
// within 2^-46 ulp or less of a rounding boundary; glibc's functions miss
// thousands of them, so they must fail here.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "tests/trig_cases.h"
#include "trig/routes.h"
#include "trig/trig.h"

namespace {

// Every argument of the hard-case file and its negation.
std::vector<double> hard_cases()
{
    std::vector<double> args;
    std::ifstream in(HARD_CASES);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') {
            args.push_back(std::strtod(line.c_str(), nullptr));
            args.push_back(-args.back());
        }
    return args;
}

// Every angle the run takes the sine or cosine of.
std::vector<double> run_arguments()
{
    std::vector<double> args;
    const double dt = 1.0 / static_cast<double>(run_n_data - 1);
    for (int i = 1; i <= run_n_data; ++i) {
        for (const double p : tone_period)
            args.push_back(tone_angle(i, dt, p));
        const double w = omega(
            static_cast<double>(i - 1) * (1.0 / (static_cast<double>(run_n_data - 1) * dt)), dt);
        for (int j = 1; j <= run_max_order; ++j)
            args.push_back(static_cast<double>(j) * w);
    }
    return args;
}

// 2^20 arguments spread over every binade, subnormals and both signs, from a
// fixed seed.
std::vector<double> random_arguments()
{
    std::vector<double> args;
    std::uint64_t state = 0x6d656d73706563ULL;
    for (int k = 0; k < 1 << 20; ++k) {
        // splitmix64
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        z ^= z >> 31;
        // sign, any exponent field but infinity's, any fraction
        const std::uint64_t bits = (z & 0x800fffffffffffffULL) | ((z >> 52 & 0x7ff) % 0x7ff) << 52;
        double a = 0.0;
        std::memcpy(&a, &bits, sizeof a);
        args.push_back(a);
    }
    return args;
}

struct results {
    std::vector<double> sin, cos;
};

// sin and cos of each argument from MPFR's route.
results mpfr_route(const std::vector<double>& args)
{
    results r;
    for (const double a : args) {
        double s = 0.0;
        double c = 0.0;
        trig::sincos_mpfr(a, &s, &c);
        r.sin.push_back(s);
        r.cos.push_back(c);
    }
    return r;
}

// sin and cos of each argument from sincos and from sin and cos alone, which
// must agree with each other.
results route(const std::vector<double>& args, void (*sincos)(double, double*, double*),
              double (*sin)(double), double (*cos)(double))
{
    results r;
    for (const double a : args) {
        double s = 0.0;
        double c = 0.0;
        sincos(a, &s, &c);
        const bool alone = same(sin(a), s) && same(cos(a), c);
        r.sin.push_back(alone ? s : std::nan(""));
        r.cos.push_back(alone ? c : std::nan(""));
    }
    return r;
}

// How many arguments get a result other than want's, in sin or cos; the
// first few are printed.
std::size_t differences(const std::vector<double>& args, const results& got, const results& want)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < args.size(); ++i)
        if (!same(got.sin[i], want.sin[i]) || !same(got.cos[i], want.cos[i]))
            if (++n <= 5)
                std::printf("  %a: sin %a, cos %a; MPFR %a, %a\n", args[i], got.sin[i], got.cos[i],
                            want.sin[i], want.cos[i]);
    return n;
}

double glibc_sin(double a)
{
    return std::sin(a);
}

double glibc_cos(double a)
{
    return std::cos(a);
}

TEST(trig_same, llvm_and_mpfr_are_one_function)
{
    const struct {
        const char* name;
        std::vector<double> args;
        std::size_t at_least;
    } sets[] = {
        {"hard cases", hard_cases(), 160000},
        {"run", run_arguments(), static_cast<std::size_t>(run_n_data * (4 + run_max_order))},
        {"random", random_arguments(), 1 << 20},
        {"special", special_arguments(), 44},
    };
    for (const auto& set : sets) {
        SCOPED_TRACE(set.name);
        ASSERT_GE(set.args.size(), set.at_least);
        const std::clock_t t0 = std::clock();
        const results want = mpfr_route(set.args);
        const std::clock_t t1 = std::clock();
        const results got = route(set.args, llvmlibc_sincos, llvmlibc_sin, llvmlibc_cos);
        const std::clock_t t2 = std::clock();
        EXPECT_EQ(differences(set.args, got, want), 0U);
        // Two implementations were compared, not one with itself: MPFR's one
        // call per argument takes 6 to 30 times as long as LLVM's three, where
        // one function on both sides would take a third.
        if (set.args.size() >= 1 << 20) {
            EXPECT_GT(t1 - t0, 2 * (t2 - t1));
        }
    }
}

// The random sweep covers what it says: every exponent field but infinity's
// and NaN's, subnormals' among them, with both signs.
TEST(trig_same, random_arguments_cover_every_binade)
{
    std::set<std::uint64_t> binades;
    for (const double a : random_arguments()) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &a, sizeof a);
        binades.insert(bits >> 52);
    }
    EXPECT_EQ(binades.size(), 2U * 0x7ff);
}

// The hard cases see a function that rounds wrongly: glibc's does, on
// thousands of them, and so does LLVM's with one result one bit off.
TEST(trig_same, hard_cases_have_teeth)
{
    const std::vector<double> args = hard_cases();
    const results want = mpfr_route(args);
    EXPECT_GT(differences(args, route(args, trig::sincos_libm, glibc_sin, glibc_cos), want), 1000U);
    results got = route(args, llvmlibc_sincos, llvmlibc_sin, llvmlibc_cos);
    got.cos[args.size() / 2] = std::nextafter(got.cos[args.size() / 2], 2.0);
    EXPECT_EQ(differences(args, got, want), 1U);
}

} // namespace
