// Band-limited interpolation of a record by an integer factor L: the values at
// L-1 points between two samples, each a Kaiser-windowed sinc of 2 x reach
// samples around them, its taps summing to 1 so that a constant stays exact.
#pragma once

#include <vector>

constexpr int upsampling_reach = 16; // samples each side of the point interpolated

// The taps of factor L: phase p = 1..L-1 (the point p/L of a step past sample
// j-1) at [(p-1) * 2 reach + t] weighs sample j - reach + t, t = 0 .. 2 reach - 1.
std::vector<double> upsampling_taps(int factor);

// The value at p/L of the step from x[0] to x[1] (p = 1..L-1): x must reach
// reach - 1 samples before x[0] and reach - 1 after x[1].
double interpolated(const std::vector<double>& taps, int phase, const double* x);
