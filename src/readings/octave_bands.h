// Fractional-octave bands of a finished PSD, base 10: the octave ratio is
// G = 10^(3/10), and with B bands per octave the exact mid-band frequencies are
// 1000 G^(x/B) for odd B and 1000 G^((2x+1)/(2B)) for even B, x any whole
// number, each band reaching from its mid-band frequency times G^(-1/(2B)) to
// times G^(1/(2B)); so the bands follow one another without gap. Only the bands
// that lie wholly inside the spectrum's lines and are at least df wide are
// taken (a narrower band would carry a share of one line): from the first whose
// lower edge is at least df/2 and whose width is at least df to the last whose upper edge is at
// most (m/2 - 1/2) df. A band's power is apportioned from the bins as band_power does.
#pragma once

#include "readings/psd_view.h"

#include <vector>

// One band: its mid-band frequency and edges (Hz) and its mean square (SI).
struct octave_band {
    double centre;
    double lower;
    double upper;
    double mean_square;
};

// Whether B bands per octave is one of those known: 1, 3, 6, 12 or 24.
bool octave_fraction_known(int bands_per_octave);

// The mid-band frequencies of 1/B octave from low to high (Hz, both included), lowest first.
std::vector<double> octave_centres(int bands_per_octave, double low, double high);

// The bands of 1/B octave that lie within the view's lines, lowest first.
std::vector<octave_band> octave_bands(const psd_view& view, int bands_per_octave);
