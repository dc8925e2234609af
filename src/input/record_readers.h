// The two readers of the record, side by side: the fast scanner, which parses
// large blocks of the file itself, and the reference, which asks the C
// library's formatted input for every field. They give the same results, values
// and stream positions for any bytes; pair_reader() picks one for each executable.
// A read gives 2 and takes a pair, or takes nothing and stays at the pair's
// first byte: 1 when a time is followed by the end of the record, 0 when the
// text there is not two numbers each followed by white space or the end; EOF
// when only white space is left.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads up to n pairs with read_pair into time[i], amplitude[i], keeping each
// read's result; stops after the first read that gives no pair and returns
// the number of reads made. Both readers fill their blocks this way.
template <class ReadPair>
std::uint32_t scan_pairs_with(ReadPair read_pair, double* time, float* amplitude,
                              signed char* result, std::uint32_t n)
{
    std::uint32_t i = 0;
    while (i < n) {
        result[i] = static_cast<signed char>(read_pair(time + i, amplitude + i));
        if (result[i++] != 2) break;
    }
    return i;
}

// Fast scanner (record_scanner.cpp).
int fast_scan_survey_pair(double* time, double* amplitude);
int fast_scan_segment_pair(double* time, float* amplitude);
std::uint32_t fast_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                      std::uint32_t n);
void fast_rewind_record();
long long fast_record_offset();

// Makes the calling thread's fast scanner read through block, a part of the
// record on a stream of its own that the block has adopted; nullptr returns it
// to the shared block of stream slot 1, which every thread reads by default.
struct block_source;
void fast_scan_use_block(block_source* block);

// For tests: makes the scanner hold at most capacity bytes and read chunk bytes
// at a time (both at least 1, capacity at most its full size), so numbers cross
// block ends and outgrow the buffer; 0, 0 restores the full sizes. Takes effect
// from the next read of a stream on.
void fast_scan_set_window(std::size_t capacity, std::size_t chunk);

// Reference reader (record_reference.cpp).
int reference_scan_survey_pair(double* time, double* amplitude);
int reference_scan_segment_pair(double* time, float* amplitude);
std::uint32_t reference_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                           std::uint32_t n);
void reference_rewind_record();
long long reference_record_offset();
