// A test profile as a curve: between its breakpoints a straight line on log-log
// axes, that is a power law f^b on each segment, and its mean square, the
// integral of those power laws in closed form.
#pragma once

#include "input/profile_file.h"

#include <vector>

// The profile's PSD at frequency f, between its first and last breakpoints.
double profile_value(const std::vector<profile_point>& points, double f);

// The integral of the profile's PSD from its first to its last breakpoint
// (the English unit squared), summed segment by segment.
double profile_mean_square(const std::vector<profile_point>& points);
