#include "trig/routes.h"
#include "trig/trig.h"

double trig::sin(double a)
{
#ifdef MEMSPEC_LLVMLIBC
    if (llvm_can_run())
        return llvmlibc_sin(a);
#endif
    double s = 0.0;
    double c = 0.0;
    sincos_mpfr(a, &s, &c);
    return s;
}

void trig::sincos(double a, double* s, double* c)
{
#ifdef MEMSPEC_LLVMLIBC
    if (llvm_can_run()) {
        llvmlibc_sincos(a, s, c);
        return;
    }
#endif
    sincos_mpfr(a, s, c);
}
