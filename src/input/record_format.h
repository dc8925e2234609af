// The input record format: a text stream of decimal numbers separated by white
// space, taken in pairs of time (seconds) and amplitude. Reading ends at end of
// file, at a time with no amplitude after it, or at text that is not a number
// standing alone ("1.5.5", "--1", "info"). Both the survey and the segment
// readers read the record only through these calls, on stream slot 1.
//
// The calls go to the fast scanner, or to the C library's formatted input when
// the program is built with ZENTRI_REFERENCE_READER (the zentri_ref executable).
// A scripted run that names a column or a sample rate reads the record through
// the column reader instead (one sample per line, see column_reader.h), and a
// sound file through the sound reader (sound_reader.h), both with st.column set.
// In a single pass (st.one_pass) the segment reads are also handed to the
// survey (pass_survey.h) as read. With --scale (st.scale) the segment reads'
// amplitudes are multiplied by its factor here, a block at a time; the
// survey's reads are left as read, and its figures scaled afterwards
// (amplitude_scale.h).
#pragma once

#include "core/analysis_state.h"
#include "input/column_reader.h"
#include "input/pass_survey.h"
#include "input/record_readers.h"
#include "input/sound_reader.h"

#ifdef ZENTRI_REFERENCE_READER
#define ZENTRI_RECORD_READER(call) reference_##call
#else
#define ZENTRI_RECORD_READER(call) fast_##call
#endif

// Reads one pair as fscanf("%lf %lf") does; returns 2 for a pair, else takes
// nothing (see record_readers.h for 1, 0 and EOF).
inline int scan_survey_pair(double* time, double* amplitude)
{
    if (st.column != 0)
        return st.sound ? sound_scan_survey_pair(time, amplitude)
                        : column_scan_survey_pair(time, amplitude);
    return ZENTRI_RECORD_READER(scan_survey_pair)(time, amplitude);
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
    const int result = st.column == 0 ? ZENTRI_RECORD_READER(scan_segment_pair)(time, amplitude)
                       : st.sound     ? sound_scan_segment_pair(time, amplitude)
                                      : column_scan_segment_pair(time, amplitude);
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
    return st.column == 0 ? ZENTRI_RECORD_READER(scan_segment_pairs)(time, amplitude, result, n)
           : st.sound     ? sound_scan_segment_pairs(time, amplitude, result, n)
                          : column_scan_segment_pairs(time, amplitude, result, n);
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
    if (st.sound)
        sound_rewind_record();
    else if (st.column != 0)
        column_rewind_record();
    else
        ZENTRI_RECORD_READER(rewind_record)();
}

// Byte offset in the record of the next character a read would look at.
inline long long record_offset()
{
    if (st.column != 0) return st.sound ? sound_record_offset() : column_record_offset();
    return ZENTRI_RECORD_READER(record_offset)();
}

// Names the channel whose reads follow in the segment loop (column_select_channel()).
inline void select_record_channel(int channel)
{
    survey_channel(channel);
    st.sound ? sound_select_channel(channel) : column_select_channel(channel);
}

// A channel's sums of amplitudes and squares from the first pass (column_channel_sums()).
inline void record_channel_sums(int channel, double& sum, double& sum_sq)
{
    st.sound ? sound_channel_sums(channel, sum, sum_sq) : column_channel_sums(channel, sum, sum_sq);
}

#undef ZENTRI_RECORD_READER
