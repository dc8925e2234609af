// Tones in a finished PSD: lines that stand well above the spectrum around them.
// A candidate is a bin k (1 <= k < m/2) that is a local maximum of the PSD and
// at least 10 times the median of bins k-32..k+32 (clipped to bins 1..m/2-1).
// Its lobe is k-2..k+2 for the Hanning window and k-1..k+1 for the rectangular
// one, where the window spreads one sine. Taken strongest lobe first, a
// candidate inside the lobe of a stronger tone is not a tone of its own, and one
// more than 100 dB below the strongest is rounding noise, not a tone.
// Because the PSD conserves power, df times the sum of the PSD over the lobe is
// the tone's mean square whatever the window, as long as the lobe holds it:
// a sine between two lines still reads its amplitude with the Hanning window.
// The rectangular window's lobe does not hold a sine between lines: its tones
// are read by the window's shape instead (rectangular_tone.h).
#pragma once

#include "readings/psd_view.h"

#include <vector>

constexpr int tone_median_reach = 32;   // bins on each side of the median's window
constexpr double tone_prominence = 10.; // times the median a candidate must reach
constexpr double tone_power_floor =
    1e-10; // of the strongest lobe's power (100 dB) a tone must reach

// One tone, in the quantity's first unit.
struct tone {
    double frequency; // the lobe's power-weighted mean frequency, Hz (rectangular: by its shape)
    double rms;       // sqrt(df * sum of the PSD over the lobe) (rectangular: by its shape)
    double peak;      // sqrt(2) * rms, the amplitude of the sine
};

// The count strongest tones of the view, strongest first (fewer when there are fewer).
std::vector<tone> find_tones(const psd_view& view, int count);
