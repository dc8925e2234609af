// The survey's count of a large record in two halves at once: the first half
// on the calling thread, the second on a thread of its own, which reads the
// same file through a stream and a block of its own. The halves are joined
// only when the first ends exactly where the second began, between two pairs;
// otherwise the first goes on alone. Either way the count, the times, the
// steps kept and where reading stopped are those of the count in one, whatever
// the timing of the threads; only the amplitude sums add in another order, so
// the survey uses it only where the record's mean and rms are not shown.
#pragma once

#include "input/block_source.h"
#include "input/record_span.h"

#include <cstddef>

constexpr long long default_split = 8LL << 20; // bytes from which a record is halved
constexpr std::size_t seam_window = 1 << 16;   // bytes searched for a line end at the middle

// The count in halves: when to halve, and the second half's buffers.
struct survey_halves_state {
    long long split_bytes = default_split; // a record of this many bytes or more is halved (a
                                           // setting: tests set and restore it themselves)
    block_source second_block;             // the second half's own block of the record
    char window[seam_window] = {};         // bytes around the middle, searched for the seam
};
extern survey_halves_state survey_halves;

// For tests: the second half's block and window let go (the split is left).
void reset_survey_halves();

// Counts the record of plain pairs from where the fast scanner stands into r
// (a fresh span that counts), with r.stop_offset; in halves when asked and the
// record is a file large enough, else in one. A joined count leaves the
// scanner at the seam: what reads on rewinds first.
void count_record(record_span& r, bool halves);

// For tests: a record of at least this many bytes is counted in halves
// (default 8 MiB); 0 restores the default.
void set_survey_split(long long bytes);
