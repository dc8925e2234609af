// The ramp-invariant recursive filter of a base-excited oscillator: exact at the
// sample times for a base acceleration that is a straight line between samples.
// Both responses share the poles z^2 - a1 z - a2, so one recursion
// w[n] = x[n] + a1 w[n-1] + a2 w[n-2] serves them, each read as
// b0 w[n] + b1 w[n-1] + b2 w[n-2].
#pragma once

// The coefficients of one oscillator at one sample step.
struct ramp_invariant_filter {
    double a1;          // 2 e^(-zeta wn dt) cos(wd dt)
    double a2;          // -e^(-2 zeta wn dt)
    double accel[3];    // absolute acceleration, per unit of base acceleration
    double relative[3]; // -wn^2 times the relative displacement, per unit of base acceleration
};

// The filter of the oscillator of natural frequency fn (Hz) and quality factor
// q at the sample step dt (s).
ramp_invariant_filter ramp_invariant(double fn, double q, double dt);
