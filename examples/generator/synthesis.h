// Builds the samples of a record from its recipe.
#pragma once

#include "recipe.h"

#include <vector>

// The amplitudes of the record's count pairs, sample j at time start + j/rate.
std::vector<double> synthesize(const recipe& r);

// Variance the noise parts give over one period of the synthesized noise: every line
// of a band carries level * line spacing, lines spaced rate / (count rounded up to a
// power of two); a line of the profile's noise carries the profile's PSD there times the spacing.
double noise_variance(const recipe& r);
