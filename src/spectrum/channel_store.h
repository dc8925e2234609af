// What each channel of a record of several channels carries from segment to
// segment: its overlap, kept here while another channel's turn uses the
// record's own, its summed power, added here by the transforms in segment
// order, and its cross-power against the reference channel.
#pragma once

#include "core/analysis_state.h"
#include "input/column_reader.h"

// What one channel carries from segment to segment.
struct channel_store {
    float overlap[max_m / 2]; // raw second half of its previous segment
    double psd[max_m];        // its power summed per bin
    double cross[max_m];      // conj(X)·Y against the reference summed, re and im of bins 0..m/2-1
};

// The stores of every channel a run may read.
struct channel_stores {
    channel_store channel[max_channels]; // indexed by channel, 0 the first amplitude column
};

// The one set of channel stores, in static storage.
extern channel_stores stores;

// Copies the record's overlap and psd into every channel's store, so each starts as the record.
void channel_store_start();

// Copies the channel's overlap into the record.
void channel_swap_in(int channel);

// Copies the record's overlap back into the channel's store.
void channel_swap_out(int channel);

// The channel's summed power, where its segments' power is added.
double* channel_power(int channel);

// Puts the accumulated psd of the channel into st.psd, for the output stage.
void select_channel_results(int channel);

// The channel's power summed per bin, as the segments left it (not normalised).
const double* channel_psd(int channel);

// The channel's cross-power against the reference: re and im of bin k at 2k, 2k+1.
double* channel_cross(int channel);

// Clears every channel's store (the tests' reset).
void reset_channel_stores();
