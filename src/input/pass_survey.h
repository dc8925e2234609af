// The survey of a record read once. The scripted run's segment pass hands
// every read it takes from the record to it, in record order (from whichever
// thread reads, one at a time); at the end of the pass the survey's figures,
// checks and warnings come from those reads as the counting pass gives them.
#pragma once

#include "input/record_span.h"

#include <cstdint>

// The single pass's survey as it gathers.
struct pass_survey_state {
    record_span span{};            // what the reads have shown so far
    int channel = -1;              // the channel whose reads come next
    std::uint32_t scaled_over = 0; // the first pair infinite once scaled by --scale, 0 for none
    bool in_bytes = false;         // the record is a file: progress is told in its bytes
};
extern pass_survey_state pass_survey;

// For tests: the survey back to its start-up state.
void reset_pass_survey();

// Starts gathering from the reads that follow: st.one_pass, and no cap on the
// segment reads but the survey's own count limit.
void begin_pass_survey();

// Names the channel whose reads follow (-1 for every channel at once); only
// the reads of channel 0, or of all, come from the record itself.
void survey_channel(int channel);

// Takes n reads as the record gave them (before --scale), each read's result in result[i].
void survey_reads(const double* time, const float* amplitude, const signed char* result,
                  std::uint32_t n);

// Ends the gathering: reads what the segment pass left of the record, then
// keeps the survey's figures in st, ending the run where the survey would.
void end_pass_survey();

// Ends the run of a record that turned out shorter than one segment, after the
// survey's own checks, with the message of the m that does not fit.
[[noreturn]] void end_short_pass();

// Ends the run when the record holds fewer pairs than one segment, naming the
// m that does not fit (and the survey that lists those that do).
void check_segment_fits();

// Where the single pass stands, for the progress bar: the bytes of a file
// read, or the pairs taken from a pipe.
unsigned long long pass_progress();
