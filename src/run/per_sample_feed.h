// The place where the results computed sample by sample (shock oscillators,
// running statistics, histograms, rainflow) are fed the record: each channel's
// new samples, block by block, in record order.
#pragma once

#include "core/analysis_state.h"

#include <cstdint>

// The samples a segment read brought to one channel, in the input unit (after --scale).
struct sample_block {
    int channel;                // the channel, -1 for a record of one channel
    std::uint32_t segment;      // the segment read, from 0
    const complex_entry* first; // the first new sample's entry (its real part is the sample)
    std::uint32_t
        count; // new samples: m for the first segment, nhs for later ones, fewer at the end
};

// Called by the segment loop on the reading thread for every segment of every
// channel, in record order, after the read and before the segment is handed to
// the transforms, which meanwhile run on the other cores. It must be done with
// the block before it returns: the next read overwrites it. Work too heavy for
// this thread (many oscillators) may be handed to threads of its own here.
void feed_per_sample_work(const sample_block& block);
