#include <cmath>
#include <cstdio>

#include "mem/mem.h"
#include "trig/trig.h"

namespace {

// Prints "\n  freq=%6.2f" with v, the bytes printf would write. Where |v| is
// a whole number below 1e15 (zero included, signed as v is) there is nothing
// to round, and the line is written directly: printf's exact conversion
// would add more than a quarter to mem_1's instructions, and with the fixed
// parameters every frequency is whole, as df is exactly 1.0. Anything else
// (a fraction, a larger magnitude, an infinity, a NaN) goes to printf.
void print_freq(double v)
{
    const double a = std::fabs(v);
    if (!(a == std::floor(a) && a < 1e15)) {
        std::printf("\n  freq=%6.2f", v);
        return;
    }
    // the line is built backwards from the end of buf
    char buf[40];
    char* const end = buf + sizeof buf;
    char* p = end;
    const auto prepend = [&p](const char* s, int len) {
        while (len > 0)
            *--p = s[--len];
    };
    prepend(".00", 3);
    auto k = static_cast<long long>(a);
    do {
        *--p = static_cast<char>('0' + k % 10);
        k /= 10;
    } while (k != 0);
    if (std::signbit(v))
        *--p = '-';
    while (end - p < 6)
        *--p = ' ';
    prepend("\n  freq=", 8);
    std::fwrite(p, 1, static_cast<std::size_t>(end - p), stdout);
}

} // namespace

void mem_1(int n, int max_order, double dt, double* g, double* f, double* spec, double pm)
{
    const double df = n == 1 ? 0.0 : 1.0 / (static_cast<double>(n - 1) * dt);

    for (int i = 1; i <= n; ++i) {
        f[i] = static_cast<double>(i - 1) * df;
        print_freq(f[i]);
        const double w = omega(f[i], dt);

        // A at exp(-i w), up to the sign of the imaginary part, which |A|^2 drops;
        // each angle is taken afresh because some values hang on its last bit
        double re = 1.0;
        double im = 0.0;
        for (int j = 1; j <= max_order; ++j) {
            double s = 0.0;
            double c = 0.0;
            trig::sincos(static_cast<double>(j) * w, &s, &c);
            re = re + g[j] * c;
            im = im + g[j] * s;
        }
        const double d = im * im + re * re;

        // a NaN d must still take the division
        spec[i] = d == 0.0 ? 1e18 : ((pm + pm) * dt) / d;
    }
}
