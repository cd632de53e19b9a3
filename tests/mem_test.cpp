// The estimator and the spectrum on cases small enough to know the answer.

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "mem/mem.h"
#include "tests/stdout_to.h"
#include "tests/temp_file.h"

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();

// Outputs of one burg call, poisoned with NaN so that unwritten entries show.
struct fit {
    std::vector<double> g, c, fpe;
    double pm = nan;

    fit(std::vector<double> x, int max_order, int n_lag)
        : g(static_cast<std::size_t>(max_order) + 1, nan),
          c(static_cast<std::size_t>(std::max(n_lag, max_order + 1)) + 1, nan),
          fpe(static_cast<std::size_t>(max_order) + 2, nan)
    {
        const stdout_to q;
        const int n = static_cast<int>(x.size()) - 1;
        burg(n, max_order, n_lag, x.data(), g.data(), c.data(), fpe.data(), &pm);
    }
};

TEST(burg, zero_series_gives_zero_everywhere)
{
    const fit r(std::vector<double>(9, 0.0), 4, 7);
    EXPECT_EQ(r.pm, 0.0);
    for (int j = 1; j <= 4; ++j)
        EXPECT_EQ(r.g[j], 0.0);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(r.fpe[k], 0.0);
    for (int k = 1; k <= 7; ++k)
        EXPECT_EQ(r.c[k], 0.0);
}

// x = 1, 2, 3: err_a = (1, 2), err_b = (2, 3), so g1 = -2 * 8 / 18. Each
// expected value is the same rounded operations in the same order, so the
// comparisons are exact.
TEST(burg, first_order_by_hand)
{
    const fit r({nan, 1.0, 2.0, 3.0}, 1, 3);
    const double p0 = 14.0 / 3.0;
    const double g1 = -16.0 / 18.0;
    const double pm = (1.0 - g1 * g1) * p0;
    EXPECT_EQ(r.g[1], g1);
    EXPECT_EQ(r.pm, pm);
    EXPECT_EQ(r.c[1], p0);
    EXPECT_EQ(r.c[2], -(p0 * g1));
    EXPECT_EQ(r.c[3], (p0 * g1) * g1);
    EXPECT_EQ(r.fpe[1], p0 * (4.0 / 2.0));
    EXPECT_EQ(r.fpe[2], pm * (5.0 / 1.0));
}

// A NaN sample makes the error energy NaN, which must reach the reflection
// coefficient rather than pass for a zero energy.
TEST(burg, nan_sample_reaches_the_reflection_coefficient)
{
    const fit r({nan, 1.0, nan, 3.0}, 1, 3);
    EXPECT_TRUE(std::isnan(r.g[1]));
    EXPECT_TRUE(std::isnan(r.pm));
}

TEST(burg, single_sample_divides_by_nothing)
{
    const fit r({nan, 3.0}, 0, 2);
    EXPECT_EQ(r.pm, 9.0);
    EXPECT_EQ(r.fpe[1], 0.0);
    EXPECT_EQ(r.c[1], 9.0);
    EXPECT_EQ(r.c[2], 0.0);
}

// Scaling a series by 2^k scales every energy by 2^2k and changes no
// reflection coefficient, to the bit, while the energies stay normal. Scaled
// to amplitudes near 1e-160 its energies fall below the smallest normal
// double and lose digits, but the coefficients must stay near the unscaled
// ones: a guard that took a tiny energy for zero would make them 0.
TEST(burg, scaling_the_series_keeps_the_reflection_coefficients)
{
    const int m = 3;
    std::vector<double> x(33, nan);
    for (int i = 1; i <= 32; ++i)
        x[i] = std::sin(0.3 * i) + 0.5 * std::sin(1.1 * i + 0.4);
    const fit unscaled(x, m, m + 2);
    const struct {
        double scale;
        double tol; // 0: the same bits
    } cases[] = {{0x1p-480, 0.0}, {0x1p+480, 0.0}, {1e-160, 1e-2}};
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << k.scale);
        std::vector<double> y = x;
        for (int i = 1; i <= 32; ++i)
            y[i] = x[i] * k.scale;
        const fit r(y, m, m + 2);
        for (int j = 1; j <= m; ++j) {
            if (k.tol == 0.0)
                EXPECT_EQ(r.g[j], unscaled.g[j]) << "g[" << j << "]";
            else
                EXPECT_NEAR(r.g[j], unscaled.g[j], k.tol) << "g[" << j << "]";
        }
        if (k.tol == 0.0)
            EXPECT_EQ(r.pm, unscaled.pm * k.scale * k.scale);
        else
            EXPECT_GT(r.pm, 0.0);
    }
}

// A filter from the Levinson recursion solves the normal equations of the
// autocorrelation it implies: sum_j g_j c(|k - j|) = pm for k = 0, 0 for
// k = 1..m, with g_0 = 1. A wrong Levinson step breaks them.
TEST(burg, filter_solves_the_normal_equations)
{
    // A few dozen roundings of terms of order c[1] each, on a system whose
    // reflection coefficients stay well inside the unit circle.
    const double normal_eq_tol = 1e-12;
    const int m = 4;
    std::vector<double> x(65, nan);
    for (int i = 1; i <= 64; ++i)
        x[i] = std::sin(0.3 * i) + 0.5 * std::sin(1.1 * i + 0.4) + 0.3 * std::cos(2.3 * i * i);
    const fit r(x, m, m + 2);
    for (int k = 0; k <= m; ++k) {
        double s = r.c[k + 1];
        for (int j = 1; j <= m; ++j)
            s += r.g[j] * r.c[std::abs(k - j) + 1];
        EXPECT_NEAR(s, k == 0 ? r.pm : 0.0, normal_eq_tol * r.c[1]) << "k = " << k;
    }
}

TEST(mem_1, order_zero_is_flat)
{
    std::vector<double> g(1, nan), f(6, nan), spec(6, nan), f1(2, nan), spec1(2, nan);
    {
        const stdout_to q;
        mem_1(5, 0, 0.25, g.data(), f.data(), spec.data(), 3.0);
        mem_1(1, 0, 0.25, g.data(), f1.data(), spec1.data(), 3.0);
    }
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(f[i], i - 1.0);
        EXPECT_EQ(spec[i], 1.5);
    }
    // a single point is frequency 0, without dividing by the empty record
    EXPECT_EQ(f1[1], 0.0);
    EXPECT_EQ(spec1[1], 1.5);
}

// g1 = -1 puts a zero of A at frequency 0; at 1/(2 dt), |A|^2 = 4.
TEST(mem_1, vanishing_response_gives_the_ceiling)
{
    std::vector<double> g = {nan, -1.0}, f(4, nan), spec(4, nan);
    {
        const stdout_to q;
        mem_1(3, 1, 0.5, g.data(), f.data(), spec.data(), 2.0);
    }
    EXPECT_EQ(spec[1], 1e18);
    EXPECT_EQ(spec[2], ((2.0 + 2.0) * 0.5) / 4.0);

    // a NaN filter is no vanishing response: NaN everywhere, not the ceiling
    g[1] = nan;
    {
        const stdout_to q;
        mem_1(3, 1, 0.5, g.data(), f.data(), spec.data(), 2.0);
    }
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(std::isnan(spec[i])) << "spec[" << i << "]";
}

// The frequencies are (i - 1) df to the bit, each formed afresh rather than
// summed step by step, and their progress lines are printf's "%6.2f" to the
// byte, whether or not the frequency is a whole number: negative zero,
// negative, wider than the field, at and beyond the largest whole number
// written directly, fractional steps.
TEST(mem_1, frequencies_and_progress_lines)
{
    const struct {
        int n;
        double dt;
    } cases[] = {{3, -0.5}, {3, 1e-6},  {3, 1e-15},  {3, 0.5e-15},
                 {12, 0.3}, {12, -0.5}, {3, 1e-300}, {241, 1.0 / 240.0}};
    for (const auto& k : cases) {
        std::vector<double> g(1), f(k.n + 1), spec(k.n + 1);
        const temp_file out;
        ASSERT_GE(out.fd, 0);
        {
            const stdout_to q(out.path.c_str());
            mem_1(k.n, 0, k.dt, g.data(), f.data(), spec.data(), 1.0);
        }
        std::string want;
        const double df = 1.0 / (static_cast<double>(k.n - 1) * k.dt);
        for (int i = 1; i <= k.n; ++i) {
            EXPECT_EQ(f[i], static_cast<double>(i - 1) * df) << "f[" << i << "]";
            char line[400];
            std::snprintf(line, sizeof line, "\n  freq=%6.2f", f[i]);
            want += line;
        }
        const std::string got = slurp(out.path);
        EXPECT_EQ(got, want) << "n = " << k.n << ", dt = " << k.dt;
    }
}

// stdout_to keeps what the caller printed before it where it was going, takes
// what comes while it lives, and ends the process when that cannot be
// written rather than lose it: here, past a file size limit that leaves room
// for the message on stderr.
TEST(stdout_to, keeps_pending_lines_and_refuses_a_file_it_cannot_write)
{
    const temp_file outer;
    const temp_file inner;
    ASSERT_TRUE(outer.fd >= 0 && inner.fd >= 0);
    {
        const stdout_to a(outer.path.c_str());
        std::printf("pending, not yet flushed");
        {
            const stdout_to b(inner.path.c_str());
            std::printf("inner");
        }
        std::printf(", then after");
    }
    EXPECT_EQ(slurp(outer.path), "pending, not yet flushed, then after");
    EXPECT_EQ(slurp(inner.path), "inner");

    const auto write_past_a_limit = [&inner] {
        const rlim_t room = 4096;
        const rlimit limit{room, room};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        {
            const stdout_to limited(inner.path.c_str());
            std::printf("%s", std::string(2 * room, 'x').c_str());
        }
        std::exit(0);
    };
    EXPECT_EXIT(write_past_a_limit(), testing::ExitedWithCode(1),
                "stdout_to: cannot write to .*: File too large");
}

TEST(driver, lag_clamp_keeps_one_lag_beyond_the_filter)
{
    int n_lag = 50;
    clamp_lag(48, &n_lag);
    EXPECT_EQ(n_lag, 50);
    clamp_lag(49, &n_lag);
    EXPECT_EQ(n_lag, 51);
}

} // namespace
