// The cross-power of every response channel against the reference channel
// (--reference): conj(X)·Y of each segment's transforms, summed beside each
// channel's power. The channels take their turns in the order channel_of_turn()
// gives, so that at most two spectra of a segment need keeping.
#pragma once

#include "core/analysis_state.h"

// The spectra of a segment kept until the cross-power can be added.
struct kept_spectra_state {
    complex_entry reference_spectrum[max_m / 2]; // the reference's spectrum of the current segment
    complex_entry first_spectrum[max_m / 2]; // channel 0's, while the reference's turn is to come
};

// The one pair of kept spectra, in static storage.
extern kept_spectra_state kept_spectra;

// The channel of the reference column, or -1 when the run has none.
int reference_channel();

// The channel that takes turn `turn` of a segment: channel 0 first (its reads
// fetch every channel's lines from the record), then the reference, then the
// others in column order.
int channel_of_turn(int turn);

// Clears the responses' cross-power before the first segment.
void cross_spectrum_start();

// The spectrum of the channel's turn, taken in the order of the turns: keeps it
// until the reference's is there, or adds conj(X)·Y into the channel's cross-power.
void cross_spectrum_take(int channel, const complex_entry* spectrum);

// Clears the kept spectra (the tests' reset).
void reset_kept_spectra();

// Ends the run when a bin of the channel's cross-power with the reference is
// not a finite number: the spectrum overflowed.
void refuse_overflowed_cross(int channel);
