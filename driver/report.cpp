#include <cstdio>

#include "driver/driver.h"

// Each line starts, rather than ends, with its line feed.
void report(int n_data, int max_order, int n_lag, const double* f, const double* spec,
            const double* fpe, const double* c)
{
    std::printf("\n frec        spc         fpe     auto c.");
    for (int i = 1; i <= max_order + 1; ++i)
        std::printf("\n%6.1f    %7.3f    %7.3f    %7.3f", f[i], spec[i], fpe[i], c[i]);
    for (int i = max_order + 2; i <= n_lag; ++i)
        std::printf("\n%6.1f    %7.3f          %6.3f", f[i], spec[i], c[i]);
    for (int i = n_lag + 1; i <= n_data; ++i)
        std::printf("\n%6.1f    %7.3f", f[i], spec[i]);
    std::printf("\n");
}
