// Sine and cosine of the test series and of the spectrum, in radians.
//
// By default they are the math library's. Its last bits differ between
// libraries and, with glibc, between CPUs with and without FMA, and six peak
// heights of the table hang on them. Built with MEMSPEC_CORRECTLY_ROUNDED
// they are correctly rounded (binary64, round to nearest) for every double,
// so that every printed byte is fixed by IEEE 754 alone: trig_cr.cpp.

#ifndef MEMSPEC_TRIG_H
#define MEMSPEC_TRIG_H

#include <cmath>

namespace trig {

// sincos_libm: *s = sin(a) and *c = cos(a) by the math library; the compiler
// pairs the two calls into one where the library has sincos.
inline void sincos_libm(double a, double* s, double* c)
{
    *s = std::sin(a);
    *c = std::cos(a);
}

#ifndef MEMSPEC_CORRECTLY_ROUNDED

using std::sin;

inline void sincos(double a, double* s, double* c)
{
    sincos_libm(a, s, c);
}

#else

// sin: the sine of a, correctly rounded.
double sin(double a);

// sincos: *s = sin(a) and *c = cos(a), each correctly rounded: sin(-0.0) is
// -0.0, and a NaN or an infinity gives NaN. If the route it takes cannot have
// memory, the process ends as burg's does when its storage is refused.
void sincos(double a, double* s, double* c);

#endif

} // namespace trig

#endif
