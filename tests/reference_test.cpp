// burg and mem_1 against a slow computation built another way: long double
// throughout, each order's prediction errors formed afresh from the filter
// and the samples instead of updated in place, and |A|^2 from complex
// exponentials instead of separate cosine and sine sums.

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mem/mem.h"
#include "tests/stdout_to.h"

namespace {

using ld = long double;

// The margin, for every size below: relative for the powers and FPE; for the
// coefficients and |A|^2, whose small values come out of the cancellation of
// large ones, relative to the filter's size sum |a[j]| (and its square), and
// for the autocorrelation relative to the mean square. On those scales a
// double computation of order m carries some m ulps, and more where a
// reflection coefficient comes near 1: 1.6e-13 at most over the sweep (pm at
// n = 35, max_order = 33). 1e-12 leaves a sixfold margin and still sees any
// slip of an index, a bound or a sign, which moves results at the 1e-3 level
// or more.
const ld ref_tol = 1e-12L;

void expect_close(double got, ld want, const std::string& what)
{
    EXPECT_LE(std::fabs(static_cast<ld>(got) - want), ref_tol * std::fabs(want))
        << what << ": " << got;
}

// burg(n, m, n_lag) and mem_1 on a mixture of tones and a chirp.
void agree(int n, int m, int n_lag, double dt)
{
    SCOPED_TRACE("n = " + std::to_string(n) + ", max_order = " + std::to_string(m) +
                 ", n_lag = " + std::to_string(n_lag));
    const int lags = std::max(n_lag, m + 1);
    std::vector<double> x(n + 1), g(m + 1), c(lags + 1), fpe(m + 2), f(n + 1), spec(n + 1);
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
    std::vector<ld> a(m + 1, 0.0L), r(lags, 0.0L), e(m + 1, 0.0L);
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
        e[k] = n - k - 1 == 0 ? 0.0L : p * (n + k + 1) / (n - k - 1);
        for (int j = 1; j <= k; ++j)
            r[k] -= a[j] * r[k - j];
    }
    for (int k = m + 1; k < n_lag; ++k)
        for (int j = 1; j <= m; ++j)
            r[k] -= a[j] * r[k - j];

    expect_close(pm, p, "pm");
    // coefficients on the scale of the whole filter, as small ones come out
    // of the cancellation of large ones
    ld size = 0.0L;
    for (int j = 0; j <= m; ++j)
        size += std::fabs(a[j]);
    for (int j = 1; j <= m; ++j)
        EXPECT_LE(std::fabs(static_cast<ld>(g[j]) - a[j]), ref_tol * size) << "g[" << j << "]";
    for (int k = 0; k <= m; ++k)
        expect_close(fpe[k + 1], e[k], "fpe[" + std::to_string(k + 1) + "]");
    // lags near zero are compared on the scale of the mean square
    for (int k = 0; k < lags; ++k)
        EXPECT_LE(std::fabs(static_cast<ld>(c[k + 1]) - r[k]), ref_tol * r[0])
            << "c[" << k + 1 << "]: " << c[k + 1];

    const ld pi = std::acos(-1.0L);
    for (int i = 1; i <= n; ++i) {
        const ld fi = static_cast<ld>(i - 1) / ((n - 1) * dtl);
        std::complex<ld> resp = 0.0L;
        for (int j = 0; j <= m; ++j)
            resp += a[j] * std::exp(std::complex<ld>(0.0L, -2.0L * pi * fi * dtl * j));
        // |A|^2 is a sum of terms as large as size^2, so near a notch the
        // spectrum is compared through it, on that scale
        const ld response = 2.0L * static_cast<ld>(pm) * dtl / static_cast<ld>(spec[i]);
        expect_close(f[i], fi, "f[" + std::to_string(i) + "]");
        EXPECT_LE(std::fabs(response - std::norm(resp)), ref_tol * size * size)
            << "spec[" << i << "]";
    }
}

// Every size from the fewest samples to 40, with every order they allow
// (0 to n - 2), each with fewer lags wanted than the orders give (no
// extension), exactly one beyond them and many beyond: 3 (1 + 2 + ... + 39)
// shapes.
TEST(reference, burg_and_mem_1_agree_with_a_long_double_recomputation)
{
    int shapes = 0;
    for (int n = 2; n <= 40; ++n)
        for (int m = 0; m <= n - 2; ++m)
            for (const int n_lag : {1, m + 2, 2 * n}) {
                agree(n, m, n_lag, 0.5);
                ++shapes;
            }
    EXPECT_EQ(shapes, 2340);
}

} // namespace
