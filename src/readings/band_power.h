// Power in a frequency band of a finished PSD, apportioned so that power is
// conserved: bin k >= 1 stands for the interval [(k - 1/2) df, (k + 1/2) df],
// and a band takes from each bin its PSD times the width of the part of that
// interval inside the band. Bin 0 (the mean) is never counted. A band covering
// every bin therefore gives the overall mean square, summed in the same order.
#pragma once

#include "readings/psd_view.h"

// The band's mean square in SI units squared: df times the sum over bins
// 1..m/2-1, in order, of PSD times the fraction of the bin's interval in [low, high].
double band_mean_square(const psd_view& view, double low, double high);

// The band's rms in the quantity's first unit (English; volts in V).
double band_rms(const psd_view& view, double low, double high);

// Whether the band reaches any bin's interval: false for a band beyond the spectrum.
bool band_in_spectrum(const psd_view& view, double low, double high);

// The overall rms in the quantity's first unit: the band of every bin from 1 on.
double overall_rms(const psd_view& view);
