// The cross-power of every response channel against the reference channel
// (--reference): conj(X)·Y of each segment's transforms, summed beside each
// channel's power. The channels take their turns in the order channel_of_turn()
// gives, so that at most two spectra of a segment need keeping.
#pragma once

#include "core/analysis_state.h"
#include "readings/transfer_function.h"

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

// The summed spectra of the response channel and the reference, for H1 and the coherence.
cross_view channel_cross_view(int channel);
