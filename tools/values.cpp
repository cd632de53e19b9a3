// Prints every value the fixed analysis computes, to the bit, one
// "name[i] %a" line each: g, pm, fpe, c, f and spec.

#include <cstdio>

#include "driver/driver.h"
#include "support/stdout_to.h"

namespace {

run the_run;

void print(const char* name, const double* v, int n)
{
    for (int i = 1; i <= n; ++i)
        std::printf("%s[%d] %a\n", name, i, v[i]);
}

} // namespace

int main()
{
    run& r = the_run;
    {
        const stdout_to progress_lines;
        analyse(&r);
    }
    print("g", r.g, r.max_order);
    std::printf("pm %a\n", r.pm);
    print("fpe", r.fpe, r.max_order + 1);
    print("c", r.c, r.n_lag);
    print("f", r.f, r.n_data);
    print("spec", r.spec, r.n_data);
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
}
