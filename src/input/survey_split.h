// The survey's counting pass on two cores. While the survey reads the first
// half of the record pair by pair, a second thread reads the second half as a
// run of numbers of the usual shape (float_field.h's quick path), each
// followed by white space, and notes where they start. Where the survey's
// reading meets the first of those numbers, it knows that every number up to
// the end of the run reads the same as it would have read it, and jumps to
// the last pairs of the run, which it reads itself; from there it reads on
// as before. The count, the times and where reading stops are therefore
// exactly those of reading the whole record pair by pair; any text the run
// does not cover is read pair by pair.
#pragma once

#include <cstdint>

constexpr int seam_tokens = 256; // starts kept of the first numbers of the second half
constexpr int tail_tokens = 64;  // starts kept of the last numbers of the run

// What the second thread learned.
struct second_half {
    std::uint64_t tokens;                // numbers in the run
    long long space_before[seam_tokens]; // where the white space before number i starts
    long long start[tail_tokens];        // where number i starts, in entry i % tail_tokens
};

// Starts counting the second half of the record of slot 1 on a second thread
// when the record is a regular file of at least the threshold's size; returns
// the offset where the second half starts, or -1 when it did not.
long long start_second_half();

// Waits for the second thread and returns what it learned.
const second_half& finish_second_half();

// Records of at least this many bytes are read in two halves at once (default
// 4 MiB), by the survey and by the line count of a place in the record.
long long survey_split_threshold();

// For tests: sets that size.
void set_survey_split_threshold(long long bytes);
