// The ramp-invariant coefficients: H(z) = (z-1)^2/(z dt) Z{g(n dt)}, g the
// response to a unit ramp of base acceleration, taken in closed form.
#include "readings/ramp_invariant.h"

#include <cmath>

ramp_invariant_filter ramp_invariant(double fn, double q, double dt)
{
    // Long double: at low fn dt the relative displacement's terms cancel to (wn dt)^2.
    using real = long double;
    const real pi = 3.141592653589793238462643383279502884L;
    const real wn = 2 * pi * fn, zeta = 1 / (2 * static_cast<real>(q)), t = dt;
    const real sigma = zeta * wn, wd = wn * std::sqrt(1 - zeta * zeta);
    const real e = std::exp(-sigma * t), k = wd * t;
    const real c = e * std::cos(k), s = e * std::sin(k), sp = s / k, e2 = e * e;
    ramp_invariant_filter f{};
    f.a1 = static_cast<double>(2 * c);
    f.a2 = static_cast<double>(-e2);
    // Absolute acceleration: G(s)/s^2 = 1/s^2 - 1/D(s), D = s^2 + 2 sigma s + wn^2.
    f.accel[0] = static_cast<double>(1 - sp);
    f.accel[1] = static_cast<double>(2 * (sp - c));
    f.accel[2] = static_cast<double>(e2 - sp);
    // wn^2/(s^2 D) = 1/s^2 - g/s + (g s + d)/D, g = 2 sigma/wn^2, d = 4 sigma^2/wn^2 - 1.
    const real g = 2 * sigma / (wn * wn), d = 4 * sigma * sigma / (wn * wn) - 1;
    const real eps = -g * c + (d - g * sigma) * s / wd;
    f.relative[0] = static_cast<double>(1 + (g * (2 * c - 1) + eps) / t);
    f.relative[1] = static_cast<double>(-2 * c + (g * (1 - 2 * c - e2) - 2 * eps) / t);
    f.relative[2] = static_cast<double>(e2 + (g * e2 + eps) / t);
    return f;
}
