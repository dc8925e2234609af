// Time-history input: the survey of the whole record and the overlapped segment reader.
#pragma once

#include "input/record_format.h"

// Reads the whole record once and prints its span and the segment-length table.
void survey_record();

// Reads the first m samples into seg and derives dt, sr and df from their times.
void read_first_segment();

// Builds the next segment from the saved half and nhs new samples.
void read_next_segment();

// Keeps the raw second half of the segment for the next one.
void save_overlap();

// Computes and prints ave, stddev, rms and kurtosis of seg entries 0..n-1.
void segment_statistics(unsigned n);

// Opens the record at path into stream slot 1 without waiting on a
// pipe that has no writer. Returns 0, an errno value, or not_regular_file for a
// folder, pipe or device, which cannot be read twice.
int open_record(const char* path);
constexpr int not_regular_file = -1;
