// The peak of an oscillator's response between two samples. With the base
// acceleration a straight line from x0 to x1 over the step, both responses the
// shock spectrum reads (the absolute acceleration, and wn^2 times the relative
// displacement) are that line, lagged, plus a decaying sine of the damped
// natural frequency: f(u) = x0 + b (u - lag) + e^(-sigma u) (C cos wd u + D sin wd u),
// b the line's slope. The two values at the samples fix C and D, so the peak
// between them follows exactly from four numbers, without the state.
#pragma once

// The oscillator over one step.
struct step_response {
    double sigma; // decay rate, 1/s (zeta wn)
    double wd;    // damped natural frequency, rad/s; wd dt below pi
    double dt;    // the step, s
    double lag;   // 0 for the absolute acceleration, 2 zeta / wn for wn^2 times the relative
                  // displacement
};

// The largest of s f(u) over the step, as f (s = 1: the highest value; s = -1:
// the lowest), f(0) = f0, f(dt) = f1 and the base acceleration from x0 to x1.
double peak_between_samples(const step_response& r, double x0, double x1, double f0, double f1,
                            double s);
