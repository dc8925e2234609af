// The fast scanner's own calls: its reads of plain pairs (the reader table fast_scanner holds
// them, record_reader.h), a block of its own for a thread, and a window for tests.
#pragma once

#include "input/block_source.h"

#include <cstddef>
#include <cstdint>

// The scanner's blocks of the record: a 0 byte always follows the last byte
// read, so every scanning loop stops there without a bounds check. Every
// thread reads the shared block of stream slot 1 (the segment loop and its
// reader thread hand it over), unless it reads a part of the record through a
// block of its own (fast_scan_use_block()).
struct scanner_state {
    block_source shared;                      // the block of stream slot 1
    static thread_local block_source* active; // the calling thread's block
};
extern scanner_state scanner;

// For tests: the shared block let go (its window, fast_scan_set_window(), stays),
// and the calling thread's block the shared one.
void reset_scanner();

// One pair, the amplitude as a double, as fscanf("%lf %lf") reads it.
int fast_scan_survey_pair(double* time, double* amplitude);
// One pair, the amplitude as a float, as fscanf(" %lf %f ") reads it.
int fast_scan_segment_pair(double* time, float* amplitude);
// Up to n pairs as fast_scan_segment_pair() reads them, each read's result kept.
std::uint32_t fast_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                      std::uint32_t n);
// Back to the record's first byte.
void fast_rewind_record();
// Byte offset of the next character a read looks at.
long long fast_record_offset();

// Makes the calling thread's fast scanner read through block, a part of the
// record on a stream of its own that the block has adopted; nullptr returns it
// to the shared block of stream slot 1, which every thread reads by default.
void fast_scan_use_block(block_source* block);

// For tests: makes the scanner hold at most capacity bytes and read chunk bytes
// at a time (both at least 1, capacity at most its full size), so numbers cross
// block ends and outgrow the buffer; 0, 0 restores the full sizes. Takes effect
// from the next read of a stream on.
void fast_scan_set_window(std::size_t capacity, std::size_t chunk);
