// Prints the periods of the test series' tones and every value the fixed
// analysis computes, to the bit, one "name[i] %a" line each: period, g, pm,
// fpe, c, f and spec. The analysis's progress lines go to the null device.

#include <unistd.h>

#include <cstdio>

#include "driver/driver.h"

namespace {

#ifdef _WIN32
const char null_device[] = "NUL";
#else
const char null_device[] = "/dev/null";
#endif

run r; // static, zero at start, as main's

void print(std::FILE* out, const char* name, const double* v, int n)
{
    for (int i = 1; i <= n; ++i)
        std::fprintf(out, "%s[%d] %a\n", name, i, v[i]);
}

} // namespace

int main()
{
    std::FILE* out = fdopen(dup(1), "w");
    if (out == nullptr || std::freopen(null_device, "w", stdout) == nullptr) {
        std::perror("values: cannot set the progress lines aside");
        return 1;
    }
    analyse(&r);
    int k = 0;
    for (const double p : tone_period)
        std::fprintf(out, "period[%d] %a\n", ++k, p);
    print(out, "g", r.g, r.max_order);
    std::fprintf(out, "pm %a\n", r.pm);
    print(out, "fpe", r.fpe, r.max_order + 1);
    print(out, "c", r.c, r.n_lag);
    print(out, "f", r.f, r.n_data);
    print(out, "spec", r.spec, r.n_data);
    const bool written = std::ferror(out) == 0;
    return std::fclose(out) == 0 && written ? 0 : 1;
}
