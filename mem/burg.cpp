#include <cstdio>
#include <cstdlib>

#include "mem/mem.h"
#include "support/nomem.h"

namespace {

// Zeroed, so that even a call outside burg's range reads no indeterminate
// values. From the C heap rather than new, so that a tool that refuses a
// request there reaches it beneath valgrind and the sanitizers too.
double* alloc(int k)
{
    return static_cast<double*>(std::calloc(static_cast<std::size_t>(k), sizeof(double)));
}

// Final prediction error of order m from its power; 0.0 when no degree of
// freedom is left.
double fpe_of(double pm, int n, int m)
{
    if (n - m - 1 == 0)
        return 0.0;
    return pm * (static_cast<double>(n + m + 1) / static_cast<double>(n - m - 1));
}

} // namespace

void levins(int n, double* g, double* pm, double* err_a, double* err_b, double* prev_g, int m)
{
    const int np = n - m;

    // error energies of the two prediction-error series
    double num = 0.0;
    double den = 0.0;
    for (int i = 1; i <= np; ++i) {
        num = num + err_b[i] * err_a[i];
        den = den + (err_b[i] * err_b[i] + err_a[i] * err_a[i]);
    }

    // reflection coefficient; a NaN den must still take the division
    g[m] = den == 0.0 ? 0.0 : (-2.0 * num) / den;
    *pm = (1.0 - g[m] * g[m]) * *pm;

    // Levinson step
    for (int i = 1; i <= m - 1; ++i)
        g[i] = prev_g[i] + g[m] * prev_g[m - i];
    for (int i = 1; i <= m; ++i)
        prev_g[i] = g[i];

    // errors of order m; entry i + 1 is still of order m - 1 when i is rewritten
    const double k = prev_g[m];
    for (int i = 1; i <= np - 1; ++i) {
        const double a1 = err_a[i + 1];
        const double b1 = err_b[i + 1];
        err_a[i] = err_a[i] + k * err_b[i];
        err_b[i] = b1 + k * a1;
    }
}

void burg(int n, int max_order, int n_lag, double* x, double* g, double* c, double* fpe, double* pm)
{
    double* err_a = alloc(n + 1);
    double* err_b = alloc(n + 1);
    double* prev_g = alloc(max_order + 1);
    if (err_a == nullptr || err_b == nullptr || prev_g == nullptr) {
        // freed so that leak checkers see only the failure
        std::free(err_a);
        std::free(err_b);
        std::free(prev_g);
        no_memory();
    }

    // order 0: the series itself
    double s = 0.0;
    for (int i = 1; i <= n; ++i)
        s = s + x[i] * x[i];
    const double p0 = s / static_cast<double>(n);
    c[1] = p0;
    *pm = p0;
    fpe[1] = fpe_of(*pm, n, 0);

    err_a[1] = x[1];
    for (int i = 2; i <= n; ++i) {
        err_a[i] = x[i];
        err_b[i - 1] = x[i];
    }

    for (int m = 1; m <= max_order; ++m) {
        std::printf("\n M=%4d ", m);
        levins(n, g, pm, err_a, err_b, prev_g, m);

        // lag m follows from the order-m filter and lags 0..m-1
        s = 0.0;
        for (int i = 1; i <= m; ++i)
            s = s - c[m - i + 1] * g[i];
        c[m + 1] = s;
        fpe[m + 1] = fpe_of(*pm, n, m);
    }

    // further lags: run the highest-order filter as a recursion
    for (int k = max_order + 2; k <= n_lag; ++k) {
        s = 0.0;
        for (int j = 1; j <= max_order; ++j)
            s = s - c[k - j] * g[j];
        c[k] = s;
    }

    std::free(err_a);
    std::free(err_b);
    std::free(prev_g);
}
