#include "driver/driver.h"

void clamp_lag(int max_order, int* n_lag)
{
    if (max_order + 1 >= *n_lag)
        *n_lag = max_order + 2;
}

void remove_mean(int n, double* x)
{
    double s = 0.0;
    for (int i = 1; i <= n; ++i)
        s = s + x[i];
    const double mean = s / static_cast<double>(n);
    for (int i = 1; i <= n; ++i)
        x[i] = x[i] - mean;
}

void analyse(double* x, double* f, double* spec, double* g, double* fpe, double* c, int* n_data,
             int* max_order, int* n_lag, double* dt, double* pm)
{
    mk_dat(x, n_data, max_order, n_lag, dt);
    clamp_lag(*max_order, n_lag);
    remove_mean(*n_data, x);
    burg(*n_data, *max_order, *n_lag, x, g, c, fpe, pm);
    mem_1(*n_data, *max_order, *dt, g, f, spec, *pm);
}
