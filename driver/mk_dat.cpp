#include "driver/driver.h"
#include "mem/mem.h"
#include "trig/trig.h"

void mk_dat(double* x, int* n_data, int* max_order, int* n_lag, double* dt)
{
    *n_data = run_n_data;
    *max_order = run_max_order;
    *n_lag = run_n_lag;
    *dt = *n_data == 1 ? 0.0 : 1.0 / static_cast<double>(*n_data - 1);

    const double* p = tone_period;
    for (int i = 1; i <= *n_data; ++i)
        x[i] = trig::sin(tone_angle(i, *dt, p[3])) +
               ((trig::sin(tone_angle(i, *dt, p[0])) + trig::sin(tone_angle(i, *dt, p[1]))) +
                trig::sin(tone_angle(i, *dt, p[2])));
}
