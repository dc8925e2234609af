// The input record format: a text stream of decimal numbers separated by white
// space, taken in pairs of time (seconds) and amplitude. Reading ends at end of
// file, at a time with no amplitude after it, or at text that is not a number
// standing alone ("1.5.5", "--1", "info"). Both the survey and the segment
// readers read the record only through these calls, on stream slot 1.
//
// The calls go to the reader chosen when the record was opened
// (record_reader.h): the fast scanner, or the C library's formatted input in
// zentri_ref; the column reader for a scripted run that names a column or a
// sample rate (one sample per line, see column_reader.h); the sound reader for
// a sound file (sound_reader.h). In a single pass (st.one_pass) the segment
// reads are also handed to the survey (pass_survey.h) as read. With --scale
// (st.scale) the segment reads' amplitudes are multiplied by its factor here,
// a block at a time; the survey's reads are left as read, and its figures
// scaled afterwards (amplitude_scale.h).
#pragma once

#include "core/analysis_state.h"
#include "input/pass_survey.h"
#include "input/record_reader.h"

#include <cstdint>

// Reads one pair as fscanf("%lf %lf") does; returns 2 for a pair, else takes
// nothing (see record_reader.h for 1, 0 and EOF).
inline int scan_survey_pair(double* time, double* amplitude)
{
    return record_reader_in_use().survey_pair(time, amplitude);
}

// Multiplies the amplitudes that reads converted (result 2) by --scale's
// factor, float by float.
inline void scale_reads(float* amplitude, const signed char* result, std::uint32_t n)
{
    for (std::uint32_t i = 0; i < n; ++i)
        if (result[i] == 2) amplitude[i] *= st.scale;
}

// Reads one pair as fscanf(" %lf %f ") does, the amplitude straight into a float.
inline int scan_segment_pair(double* time, float* amplitude)
{
    const int result = record_reader_in_use().segment_pair(time, amplitude);
    if (st.one_pass) {
        const auto read = static_cast<signed char>(result);
        survey_reads(time, amplitude, &read, 1);
    }
    if (st.scale != 0.f && result == 2) *amplitude *= st.scale;
    return result;
}

// Reads up to n pairs as scan_segment_pair() reads from the record, each
// read's result in result[i]; stops after a read that gives no pair. Returns
// the reads made. The amplitudes are left as read: take_segment_reads() gives
// them to the survey and scales them, on the side that uses them.
inline std::uint32_t scan_raw_segment_pairs(double* time, float* amplitude, signed char* result,
                                            std::uint32_t n)
{
    return record_reader_in_use().segment_block(time, amplitude, result, n);
}

// Takes the reads of scan_raw_segment_pairs() as scan_segment_pair() takes one:
// into the single pass's survey, then times --scale's factor.
inline void take_segment_reads(const double* time, float* amplitude, const signed char* result,
                               std::uint32_t n)
{
    if (st.one_pass) survey_reads(time, amplitude, result, n);
    if (st.scale != 0.f) scale_reads(amplitude, result, n);
}

// Returns the record to its first byte.
inline void rewind_record()
{
    record_reader_in_use().rewind();
}

// Byte offset in the record of the next character a read would look at.
inline long long record_offset()
{
    return record_reader_in_use().offset();
}

// Names the channel whose reads follow in the segment loop (column_reader.h).
inline void select_record_channel(int channel)
{
    survey_channel(channel);
    record_reader_in_use().select_channel(channel);
}

// A channel's sums of amplitudes and squares from the first pass (column_reader.h).
inline void record_channel_sums(int channel, double& sum, double& sum_sq)
{
    record_reader_in_use().channel_sums(channel, sum, sum_sq);
}

// Lets the record's reader go of the record (the sound reader closes its file).
inline void close_record_reader()
{
    record_reader_in_use().close();
}
