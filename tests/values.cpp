// Prints every value the fixed analysis computes, to the bit, one
// "name[i] %a" line each: g, pm, fpe, c, f and spec.

#include <cstdio>

#include "driver/driver.h"
#include "support/stdout_to.h"

namespace {

double x[series_len], f[series_len], spec[series_len], g[series_len], fpe[series_len],
    c[series_len];
int n_data, max_order, n_lag;
double dt, pm;

void print(const char* name, const double* v, int n)
{
    for (int i = 1; i <= n; ++i)
        std::printf("%s[%d] %a\n", name, i, v[i]);
}

} // namespace

int main()
{
    {
        const stdout_to progress_lines;
        analyse(x, f, spec, g, fpe, c, &n_data, &max_order, &n_lag, &dt, &pm);
    }
    print("g", g, max_order);
    std::printf("pm %a\n", pm);
    print("fpe", fpe, max_order + 1);
    print("c", c, n_lag);
    print("f", f, n_data);
    print("spec", spec, n_data);
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
}
