// The single-degree-of-freedom oscillator excited at its base: its gains and
// the spectral moments of its response to a PSD's lines or to a test profile.
#pragma once

#include "input/profile_file.h"
#include "readings/psd_view.h"

#include <vector>

// The squared gain of an oscillator at frequency f (Hz), natural frequency fn, quality q.
using oscillator_gain = double (*)(double f, double fn, double q);

// The response's spectral moments: m0 its mean square, m2 that of its rate of change over (2 pi)^2.
struct response_moments {
    double m0; // sum of gain^2 * G * df, the response unit squared
    double m2; // sum of f^2 * gain^2 * G * df, the response unit squared times Hz^2
};

// |H|^2 of the absolute acceleration over the base's acceleration.
double absolute_gain(double f, double fn, double q);

// |Hz|^2 of the relative displacement (m) over the base's acceleration (m/sec^2).
double relative_gain(double f, double fn, double q);

// The response's moments summed over the PSD's lines 1..bins-1 (the mean, bin 0,
// is an offset and no vibration), in the PSD's SI unit.
response_moments psd_response(const psd_view& view, oscillator_gain gain, double fn, double q);

// The response's moments to the profile between its first and last breakpoints,
// in the profile's unit: Simpson's rule on ln f per segment, with at least
// profile_steps_per_bandwidth steps per half-power bandwidth fn/q.
response_moments profile_response(const std::vector<profile_point>& profile, oscillator_gain gain,
                                  double fn, double q);

constexpr double profile_steps_per_bandwidth = 50.; // grid of the profile's integration
