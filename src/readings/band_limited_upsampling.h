// Band-limited interpolation of a record by an integer factor L: the values at
// L-1 points between two samples, each a Kaiser-windowed sinc of 2 x reach
// samples around them, its taps summing to 1 so that a constant stays exact.
// Also the equaliser that makes a straight line between samples act as the
// band-limited record does: the line between samples x[n] passes the record's
// frequency f at sinc^2(f/sr), so the samples filtered by about 1/sinc^2 first
// give a line whose response at every frequency below 0.45 sr is the record's.
#pragma once

#include <cstddef>
#include <vector>

constexpr int upsampling_reach = 16; // samples each side of the point interpolated
constexpr int equaliser_reach = 16;  // samples each side of the sample equalised

// The taps of factor L: phase p = 1..L-1 (the point p/L of a step past sample
// j-1) at [(p-1) * 2 reach + t] weighs sample j - reach + t, t = 0 .. 2 reach - 1.
std::vector<double> upsampling_taps(int factor);

// The equaliser's 2 reach + 1 taps, symmetric, weighing samples n - reach .. n + reach;
// they sum to 1, and within 0.1 % of 1/sinc^2(f/sr) up to 0.45 sr.
std::vector<double> equaliser_taps();

// out[i] = sum over t of taps[t] x[i + t], i = 0 .. n-1, each sum taken in the order of t.
void filtered(const double* taps, std::size_t width, const double* x, std::size_t n, double* out);
