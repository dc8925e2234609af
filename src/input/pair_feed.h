// Reading ahead: while the segment loop conditions and transforms a segment, a
// second thread reads the next pairs of the record into a few fixed blocks.
// The pairs, their values and the results of their reads come in the same
// order as straight from the record, whatever the timing of the threads.
#pragma once

#include "core/analysis_state.h"

#include "core/helper_ending.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

constexpr std::uint32_t block_pairs = 8192; // reads per block
constexpr std::uint64_t block_count = 4;    // blocks the reader may fill ahead

// The results of consecutive reads: the values are valid only where the read
// gave a pair (result 2).
struct pair_block {
    double time[block_pairs];        // each read's time
    float amplitude[block_pairs];    // each read's amplitude
    signed char result[block_pairs]; // each read's result
    std::uint32_t filled;            // reads held
    bool last;                       // the last read failed: the reader has stopped
};

// The blocks and the hand-over between the two threads. Block i lives in
// blocks[i % block_count]; the reader fills it while produced - consumed <
// block_count, the loop reads it while consumed < produced.
struct pair_feed_state {
    pair_block blocks[block_count];   // the blocks, filled in turn
    std::mutex lock;                  // guards the fields marked "under lock"
    std::condition_variable changed;  // told when a block is filled or given back
    std::uint64_t produced;           // blocks filled, under lock
    std::uint64_t consumed;           // blocks read and given back, under lock
    bool stop;                        // the loop asks the reader to end, under lock
    std::uint64_t limit;              // pairs the reader may read at most
    std::thread reader;               // the reader thread, while one runs
    const pair_block* current;        // the block being taken by the loop, or none
    std::uint32_t next;               // its next read
    std::atomic<long long> offset{0}; // record offset after the reader's last block
    bool failed;                      // the reader met an ending, under lock
    helper_ending ending;             // which, for the loop to end the run with, under lock
};
extern pair_feed_state pair_feed;

// For tests: stops the reader and returns the feed to its start-up state.
void reset_pair_feed();

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
