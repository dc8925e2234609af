// The shock response spectrum of a scripted run with --srs: each channel's bank
// of oscillators started at its first segment, once the rate is known, fed
// every block of new samples in record order during the one pass, and finished
// after it, its files staged with the set's.
#pragma once

#include "output/result_outcome.h"
#include "readings/oscillators.h"
#include "readings/shock_spectrum.h"
#include "run/per_sample_feed.h"

#include <string>
#include <vector>

// The banks of the run.
struct srs_feed_state {
    std::vector<srs_bank> banks;    // one per channel (the record's one at 0)
    std::vector<float> samples;     // the block's samples, one after another
    oscillator_options oscillators; // the oscillators asked, resolved at the record's rate
};

// The one record of the shock spectrum's feed.
extern srs_feed_state srs_feed;

// Feeds a block of a channel's new samples to its bank, starting the bank at
// the channel's first segment; a natural frequency at or above half the rate
// ends the run with status 2. Nothing without --srs.
void feed_srs_block(const sample_block& block);

// After the pass: finishes the bank of the channel (-1: the record's one),
// checks it against the shock profile when one was given and stages its files
// into the set's folder. Nothing without --srs.
void stage_srs(channel_outcome& set, int channel, const result_request& request);

// Forgets the banks, stopping their helper threads (the tests' reset).
void reset_srs_feed();
