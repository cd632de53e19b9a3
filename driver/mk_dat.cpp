#include "driver/driver.h"
#include "mem/mem.h"
#include "mem/trig.h"

void mk_dat(double* x, int* n_data, int* max_order, int* n_lag, double* dt)
{
    *n_data = run_n_data;
    *max_order = run_max_order;
    *n_lag = run_n_lag;
    *dt = *n_data == 1 ? 0.0 : 1.0 / static_cast<double>(*n_data - 1);

    // periods, divided into the phase rather than frequencies multiplied by it:
    // the last bits of the samples depend on which
    const double two_pi = 2.0 * PI_CONST;
    const double p1 = 1.0 / 124.5;
    const double p2 = 1.0 / 65.0;
    const double p3 = 1.0 / 64.0;
    const double p4 = 0.25;

    for (int i = 1; i <= *n_data; ++i) {
        const double w = two_pi * (static_cast<double>(i - 1) * *dt);
        x[i] = trig::sin(w / p4) + ((trig::sin(w / p1) + trig::sin(w / p2)) + trig::sin(w / p3));
    }
}
