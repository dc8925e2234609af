// The PSD of a quantity derived from the record's by integrating or
// differentiating in time: velocity and displacement from acceleration, and
// the other ways round. Each integration divides a line's amplitude by 2 pi f,
// so its PSD by (2 pi f)^2; a differentiation multiplies. Bin 0 (0 Hz), where
// an integral is not defined, is set to 0. The lowest lines gain the most, so
// an integrated overall rms is ruled by them; a band rms keeps them out.
// A derived quantity's tones are the record's tones, each divided by its own
// (2 pi f)^n: a sine stays a sine of the same frequency. Found in the derived
// PSD instead, a tone would read its lobe weighted by 1/f^2n across the lobe
// (0.7 % high for a displacement at 16 lines), and the steep low end of
// integrated noise would pass for tones.
#pragma once

#include "readings/psd_view.h"
#include "readings/tones.h"

#include <vector>

// Whether quantity to can be derived from quantity from: both of acceleration,
// velocity and displacement, and different.
bool derivable(int from, int to);

// Integrations from quantity from to quantity to (negative: differentiations).
int integrations(int from, int to);

// The tones of the derived quantity from all the record's tones (in the
// record's first unit, english_from from SI): each rms and peak divided by
// (2 pi f)^n and put in the derived quantity's first unit (english_to from SI);
// the count strongest, strongest first.
std::vector<tone> derived_tones(const std::vector<tone>& tones, int integrations,
                                double english_from, double english_to, int count);

// The derived SI PSD, bins 0..m/2-1: PSD (2 pi f)^(-2n) for n integrations, bin 0 zero.
std::vector<double> derived_psd(const psd_view& view, int integrations);
