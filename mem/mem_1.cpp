#include <cmath>
#include <cstdio>

#include "mem/mem.h"

void mem_1(int n, int max_order, double dt, double* g, double* f, double* spec, double pm)
{
    const double two_pi = 2.0 * PI_CONST;
    const double df = n == 1 ? 0.0 : 1.0 / (static_cast<double>(n - 1) * dt);

    for (int i = 1; i <= n; ++i) {
        f[i] = static_cast<double>(i - 1) * df;
        std::printf("\n  freq=%6.2f", f[i]);
        const double w = (two_pi * f[i]) * dt;

        // A at exp(-i w), up to the sign of the imaginary part, which |A|^2 drops;
        // each angle is taken afresh because some values hang on its last bit
        double re = 1.0;
        double im = 0.0;
        for (int j = 1; j <= max_order; ++j) {
            const double th = static_cast<double>(j) * w;
            re = re + g[j] * std::cos(th);
            im = im + g[j] * std::sin(th);
        }
        const double d = im * im + re * re;

        // a NaN d must still take the division
        spec[i] = d == 0.0 ? 1e18 : ((pm + pm) * dt) / d;
    }
}
