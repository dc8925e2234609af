// The rainflow count of every channel in the one pass (--rainflow, --sn): each
// segment's new samples are gathered per channel, and every rainflow_batch of
// them go to the channel's count, on a helper thread of its own unless
// --threads 1; the helper takes one batch at a time, each channel's in record
// order, so the count never depends on the threads' timing. The counted cycles' rows go
// into a temporary file per channel as they are counted, so memory holds only
// the residue of open half cycles (bounded, see readings/rainflow_count.h).
#pragma once

#include "platform/helper_thread.h"
#include "readings/rainflow_count.h"
#include "run/per_sample_feed.h"

#include <cstdio>
#include <vector>

constexpr std::size_t rainflow_batch = std::size_t{1} << 16; // samples handed over at once

// The counts in progress.
struct rainflow_feed_state {
    std::vector<rainflow_state> counts;      // one per channel (index 0 for a one-channel record)
    std::vector<std::FILE*> rows;            // per channel: its cycles' rows, a temporary file
    std::vector<std::vector<float>> pending; // per channel: its samples not yet handed over
    std::vector<float> taken;                // the batch with the count
    helper worker;                           // the helper thread; null with --threads 1
    bool busy = false;                       // a block is with the helper
    double factor = 1.;                      // from the record's unit to the quantity's first unit
    bool rows_failed = false;                // a row could not be written to its temporary file
};

// The one record of the rainflow counts.
extern rainflow_feed_state rainflow_feed;

// Hands the block's samples to its channel's count, when a count is asked for.
void feed_rainflow_block(const sample_block& block);

// Waits for the helper and ends the channel's count (-1 for a one-channel
// record); returns it, its rows all in rainflow_rows(channel).
const rainflow_state& finished_rainflow(int channel);

// The temporary file of the channel's cycles' rows, nullptr when none was
// kept or a row could not be written.
std::FILE* rainflow_rows(int channel);

// The factor from the record's unit to the quantity's first unit, 1 when it is in it.
double first_unit_factor();

// Stops the helper and forgets the counts (the tests' reset).
void reset_rainflow_feed();
