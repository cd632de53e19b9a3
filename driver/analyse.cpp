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

void analyse(run* r)
{
    mk_dat(r->x, &r->n_data, &r->max_order, &r->n_lag, &r->dt);
    clamp_lag(r->max_order, &r->n_lag);
    remove_mean(r->n_data, r->x);
    burg(r->n_data, r->max_order, r->n_lag, r->x, r->g, r->c, r->fpe, &r->pm);
    mem_1(r->n_data, r->max_order, r->dt, r->g, r->f, r->spec, r->pm);
}
