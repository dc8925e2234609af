// The PSD of a quantity derived from the record's by integrating or
// differentiating in time: velocity and displacement from acceleration, and
// the other ways round. Each integration divides a line's amplitude by 2 pi f,
// so its PSD by (2 pi f)^2; a differentiation multiplies. Bin 0 (0 Hz), where
// an integral is not defined, is set to 0. The lowest lines gain the most, so
// an integrated overall rms is ruled by them; a band rms keeps them out.
#pragma once

#include "readings/psd_view.h"

#include <vector>

// Whether quantity to can be derived from quantity from: both of acceleration,
// velocity and displacement, and different.
bool derivable(int from, int to);

// Integrations from quantity from to quantity to (negative: differentiations).
int integrations(int from, int to);

// The derived SI PSD, bins 0..m/2-1: PSD (2 pi f)^(-2n) for n integrations, bin 0 zero.
std::vector<double> derived_psd(const psd_view& view, int integrations);
