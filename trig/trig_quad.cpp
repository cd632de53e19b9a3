#include <cmath>
#include <limits>

#include "support/nomem.h"
#include "trig/quad.h"
#include "trig/trig.h"

#if LDBL_MANT_DIG != 113
// libquadmath's, declared as quadmath.h declares them: that header lies in
// GCC's own include directory, which clang++ and clang-tidy do not search
extern "C" trig::quad sinq(trig::quad);
extern "C" trig::quad cosq(trig::quad);
#endif

namespace {

using trig::quad;

#if LDBL_MANT_DIG == 113
quad qsin(quad a)
{
    return std::sin(a);
}
quad qcos(quad a)
{
    return std::cos(a);
}
#else
quad qsin(quad a)
{
    return sinq(a);
}
quad qcos(quad a)
{
    return cosq(a);
}
#endif

} // namespace

const quad trig::quad_error = static_cast<quad>(0x1p-100);

bool trig::round_once(quad q, double* d)
{
    const double r = static_cast<double>(q);
    if (std::isnan(r)) {
        *d = r;
        return true;
    }
    // By symmetry, |q| against the midpoints either side of |r|, which the
    // conversion made its nearest double. Each midpoint is exact in binary128:
    // two adjacent doubles need at most 54 bits, and so does their half-sum;
    // so is each difference below, of two values within a double's unit.
    const double inf = std::numeric_limits<double>::infinity();
    const quad a = q < 0 ? -q : q;
    const double m = std::fabs(r);
    const quad below = (static_cast<quad>(m) + static_cast<quad>(std::nextafter(m, -inf))) / 2;
    const quad above = (static_cast<quad>(m) + static_cast<quad>(std::nextafter(m, inf))) / 2;
    const quad e = quad_error * a;
    if (!(a - below > e && above - a > e))
        return false;
    *d = r;
    return true;
}

bool trig::sincos_proven(double a, double* s, double* c)
{
    const quad x = static_cast<quad>(a);
    return round_once(qsin(x), s) && round_once(qcos(x), c);
}

void trig::sincos_quad(double a, double* s, double* c)
{
    if (!sincos_proven(a, s, c))
        no_rounding();
}
