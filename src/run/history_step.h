// The time history of each channel in the one pass: its statistics, histogram
// and running figures fed sample by sample, its spectrogram frames, holds and
// stationarity fed segment by segment in segment order; after the pass its
// results for the report and the summary and its files, staged with the set's.
#pragma once

#include "output/result_outcome.h"
#include "readings/record_statistics.h"
#include "readings/running_figures.h"
#include "readings/sample_histogram.h"
#include "readings/stationarity.h"
#include "run/per_sample_feed.h"
#include "spectrum/spectrum_frames.h"
#include "spectrum/spectrum_holds.h"

#include <cstdint>
#include <cstdio>
#include <vector>

// What the pass has gathered of one channel (or the record's one).
struct channel_history {
    record_statistics_state statistics; // extremes, moments, clipping
    sample_histogram_state histogram;   // --histogram, bins 0 when not asked
    running_figures_state running;      // --running, length 0 when not asked
    std::FILE* windows = nullptr;       // the finished windows, kept in an unnamed file
    stationarity_state stationarity;    // the segments' mean squares
    spectrum_frames frames;             // --spectrogram, m 0 when not asked
    std::FILE* frame_powers = nullptr;  // the finished frames' power, in an unnamed file
    spectrum_holds holds;               // --hold, m 0 when not asked
    std::uint64_t fed = 0;              // samples fed so far
    bool spill_failed = false;          // an unnamed file could not be made or written
};

// The time history of the run.
struct history_state {
    std::vector<channel_history> channels; // one per channel, or the record's one
    std::vector<float> samples;            // a block's samples, taken out of their entries
    std::uint64_t window = 0;              // samples per running window, 0 for none
    bool window_too_short = false;         // --running asked fewer than 2 samples a window
};

// The one time history of the process.
extern history_state history;

// Feeds a block of a channel's new samples to its statistics, histogram and
// running figures; the first segment's block (re)starts the channel's history.
void history_feed(const sample_block& block);

// The set's statistics and stationarity, and its files as the options ask,
// staged in its folder; channel -1 for a one-channel record. A --running window
// of fewer than 2 samples ends the run with status 2.
history_outcome stage_history(channel_outcome& set, const result_request& request, int channel);

// Forgets the time history and closes its unnamed files (the tests' reset).
void reset_history();
