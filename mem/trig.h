// Sine and cosine of the test series and of the spectrum.
//
// By default they are the math library's, whose last bits differ between
// libraries and, with glibc, between CPUs with and without FMA. Built with
// MEMSPEC_CORRECTLY_ROUNDED they are correctly rounded (binary64, round to
// nearest), so that every result of the run is fixed by IEEE 754 alone.

#ifndef MEMSPEC_TRIG_H
#define MEMSPEC_TRIG_H

#ifdef MEMSPEC_CORRECTLY_ROUNDED

namespace trig {
double sin(double a);
double cos(double a);
} // namespace trig

#else

#include <cmath>

namespace trig {
using std::cos;
using std::sin;
} // namespace trig

#endif

#endif
