// The input record format: a text stream of decimal numbers separated by white
// space, taken in pairs of time (seconds) and amplitude. Reading ends at end of
// file, at a time with no amplitude after it, or at text that is not a number
// standing alone ("1.5.5", "--1", "info"). Both the survey and the segment
// readers read the record only through these calls, on stream slot 1.
//
// The calls go to the fast scanner, or to the C library's formatted input when
// the program is built with ZENTRI_REFERENCE_READER (the zentri_ref executable).
// A scripted run that names a column or a sample rate reads the record through
// the column reader instead (one sample per line, see column_reader.h).
#pragma once

#include "input/column_reader.h"
#include "input/record_readers.h"
#include "run/analysis_state.h"

#ifdef ZENTRI_REFERENCE_READER
#define ZENTRI_RECORD_READER(call) reference_##call
#else
#define ZENTRI_RECORD_READER(call) fast_##call
#endif

// Reads one pair as fscanf("%lf %lf") does; returns 2 for a pair, else takes
// nothing (see record_readers.h for 1, 0 and EOF).
inline int scan_survey_pair(double* time, double* amplitude)
{
    if (st.column != 0) return column_scan_survey_pair(time, amplitude);
    return ZENTRI_RECORD_READER(scan_survey_pair)(time, amplitude);
}

// Reads one pair as fscanf(" %lf %f ") does, the amplitude straight into a float.
inline int scan_segment_pair(double* time, float* amplitude)
{
    if (st.column != 0) return column_scan_segment_pair(time, amplitude);
    return ZENTRI_RECORD_READER(scan_segment_pair)(time, amplitude);
}

// Reads up to n pairs as scan_segment_pair() does, each read's result in
// result[i]; stops after a read that gives no pair. Returns the reads made.
inline std::uint32_t scan_segment_pairs(double* time, float* amplitude, signed char* result,
                                        std::uint32_t n)
{
    if (st.column != 0) return column_scan_segment_pairs(time, amplitude, result, n);
    return ZENTRI_RECORD_READER(scan_segment_pairs)(time, amplitude, result, n);
}

// Returns the record to its first byte.
inline void rewind_record()
{
    if (st.column != 0)
        column_rewind_record();
    else
        ZENTRI_RECORD_READER(rewind_record)();
}

// Byte offset in the record of the next character a read would look at.
inline long long record_offset()
{
    if (st.column != 0) return column_record_offset();
    return ZENTRI_RECORD_READER(record_offset)();
}

#undef ZENTRI_RECORD_READER
