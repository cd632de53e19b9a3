// burg and mem_1 against a slow computation built another way: long double
// throughout, each order's prediction errors formed afresh from the filter
// and the samples instead of updated in place, and |A|^2 from complex
// exponentials instead of separate cosine and sine sums.

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mem/mem.h"
#include "support/stdout_to.h"

namespace {

using ld = long double;

// Relative. The two agree to about 1e-15 on this series (a few ulps of
// double, from some hundred roundings per order with reflection coefficients
// up to 0.83); 1e-12 leaves a thousandfold margin and still sees any slip
// of an index or a sign, which moves results at the 1e-2 level.
const ld ref_tol = 1e-12L;

void expect_close(double got, ld want, const std::string& what)
{
    EXPECT_LE(std::fabs(static_cast<ld>(got) - want), ref_tol * std::fabs(want))
        << what << ": " << got;
}

TEST(reference, burg_and_mem_1_agree_with_a_long_double_recomputation)
{
    const int n = 64;
    const int m = 4;
    const int n_lag = m + 5;
    const double dt = 0.5;
    std::vector<double> x(n + 1), g(m + 1), c(n_lag + 1), fpe(m + 2), f(n + 1), spec(n + 1);
    for (int i = 1; i <= n; ++i)
        x[i] = std::sin(0.3 * i) + 0.5 * std::sin(1.1 * i + 0.4) + 0.3 * std::cos(2.3 * i * i);
    double pm = 0.0;
    {
        const stdout_to q;
        burg(n, m, n_lag, x.data(), g.data(), c.data(), fpe.data(), &pm);
        mem_1(n, m, dt, g.data(), f.data(), spec.data(), pm);
    }

    // a[0..k]: filter of order k; errors of order k - 1 at each lag, from x;
    // r[k]: autocorrelation at lag k, the lag the order-k filter predicts
    // from the lags before it; e[k]: Akaike's FPE of order k
    const std::vector<ld> xl(x.begin(), x.end());
    const ld dtl = static_cast<ld>(dt);
    std::vector<ld> a(m + 1, 0.0L), r(n_lag, 0.0L), e(m + 1, 0.0L);
    a[0] = 1.0L;
    ld p = 0.0L;
    for (int i = 1; i <= n; ++i)
        p += xl[i] * xl[i];
    p /= n;
    r[0] = p;
    e[0] = p * (n + 1) / (n - 1);
    for (int k = 1; k <= m; ++k) {
        ld num = 0.0L;
        ld den = 0.0L;
        for (int t = k + 1; t <= n; ++t) {
            ld fwd = 0.0L; // predicting x[t] from the k - 1 samples before it
            ld bwd = 0.0L; // predicting x[t - k] from the k - 1 samples after it
            for (int j = 0; j < k; ++j) {
                fwd += a[j] * xl[t - j];
                bwd += a[j] * xl[t - k + j];
            }
            num += fwd * bwd;
            den += fwd * fwd + bwd * bwd;
        }
        const ld refl = -2.0L * num / den;
        const std::vector<ld> prev = a;
        for (int j = 1; j < k; ++j)
            a[j] = prev[j] + refl * prev[k - j];
        a[k] = refl;
        p *= 1.0L - refl * refl;
        e[k] = p * (n + k + 1) / (n - k - 1);
        for (int j = 1; j <= k; ++j)
            r[k] -= a[j] * r[k - j];
    }
    for (int k = m + 1; k < n_lag; ++k)
        for (int j = 1; j <= m; ++j)
            r[k] -= a[j] * r[k - j];

    expect_close(pm, p, "pm");
    for (int j = 1; j <= m; ++j)
        expect_close(g[j], a[j], "g[" + std::to_string(j) + "]");
    for (int k = 0; k <= m; ++k)
        expect_close(fpe[k + 1], e[k], "fpe[" + std::to_string(k + 1) + "]");
    // lags near zero are compared on the scale of the mean square
    for (int k = 0; k < n_lag; ++k)
        EXPECT_LE(std::fabs(static_cast<ld>(c[k + 1]) - r[k]), ref_tol * r[0])
            << "c[" << k + 1 << "]: " << c[k + 1];

    const ld pi = std::acos(-1.0L);
    for (int i = 1; i <= n; ++i) {
        const ld fi = (i - 1) / ((n - 1) * dtl);
        std::complex<ld> resp = 0.0L;
        for (int j = 0; j <= m; ++j)
            resp += a[j] * std::exp(std::complex<ld>(0.0L, -2.0L * pi * fi * dtl * j));
        const ld want = 2.0L * p * dtl / std::norm(resp);
        expect_close(f[i], fi, "f[" + std::to_string(i) + "]");
        expect_close(spec[i], want, "spec[" + std::to_string(i) + "]");
    }
}

} // namespace
