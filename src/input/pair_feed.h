// Reading ahead: while the segment loop conditions and transforms a segment, a
// second thread reads the next pairs of the record into a few fixed blocks.
// The pairs, their values and the results of their reads come in the same
// order as straight from the record, whatever the timing of the threads.
#pragma once

#include "core/analysis_state.h"

#include <cstdint>

// Starts the reader thread at the record's current position; it reads at most
// limit pairs (none is started for 0).
void start_pair_feed(std::uint64_t limit);

// Stops the reader thread and waits for it; does nothing when none runs. The
// record is then left where the reader got to, past the pairs taken.
void stop_pair_feed();

// Takes the next pair as scan_segment_pair() reads it: from the reader thread
// while one runs, straight from the record otherwise (and once the reader has
// given its last read, so reading can go on past a read that gave no pair).
int next_segment_pair(double* time, float* amplitude);

// Takes reads as next_segment_pair() does into the real parts of out[0..n),
// until n reads have given pairs or one gives none (that one is taken too).
// Returns the pairs.
std::uint32_t next_segment_amplitudes(complex_entry* out, std::uint32_t n);

// The record offset the reads have reached: where the reader thread's last
// block ended while it runs (safe to ask from the segment loop), else the
// record's own.
long long feed_offset();
