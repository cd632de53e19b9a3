// Sine and cosine of the test series and of the spectrum.
//
// By default they are the math library's, whose last bits differ between
// libraries and, with glibc, between CPUs with and without FMA. Built with
// MEMSPEC_CORRECTLY_ROUNDED they are correctly rounded (binary64, round to
// nearest), so that every result of the run is fixed by IEEE 754 alone.
// Neither keeps anything from one call to the next.

#ifndef MEMSPEC_TRIG_H
#define MEMSPEC_TRIG_H

#ifdef MEMSPEC_CORRECTLY_ROUNDED

namespace trig {

// sin: the sine of a (radians).
double sin(double a);

// sincos: *s = sin(a) and *c = cos(a), a in radians, from one evaluation.
// Both are rounded to nearest from the exact values, for every double a:
// sin(-0.0) is -0.0, and a NaN or an infinity gives NaN. MPFR's exponent
// range and GMP's allocator are the caller's again on return; if GMP cannot
// have memory, the process ends as burg's does when its storage is refused.
void sincos(double a, double* s, double* c);

} // namespace trig

#else

#include <cmath>

namespace trig {

using std::sin;

// the compiler pairs the two calls into one where the library has sincos
inline void sincos(double a, double* s, double* c)
{
    *s = std::sin(a);
    *c = std::cos(a);
}

} // namespace trig

#endif

#endif
