// The reference reader's own calls: plain pairs read with the C library's fscanf (the
// reader table reference_reader holds them, record_reader.h).
#pragma once

#include <cstdint>

// One pair, the amplitude as a double, as fscanf("%lf %lf") reads it.
int reference_scan_survey_pair(double* time, double* amplitude);
// One pair, the amplitude as a float, as fscanf(" %lf %f ") reads it.
int reference_scan_segment_pair(double* time, float* amplitude);
// Up to n pairs as reference_scan_segment_pair() reads them, each read's result kept.
std::uint32_t reference_scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                           std::uint32_t n);
// Back to the record's first byte.
void reference_rewind_record();
// Byte offset of the next character a read looks at.
long long reference_record_offset();
