// The column reader of scripted runs: a record of one sample per line, with
// fields separated by blanks and tabs, commas or semicolons (found from the
// first data line), header and comment lines before the data skipped, the
// time in column 1 or made from a sample rate, and the amplitude in a chosen
// column (st.column), or in every column at once (st.channels). A line with
// too few fields, or a field that is not a number, ends the record there.
#pragma once

#include "input/record_reader.h"

constexpr int max_channels = 16; // amplitude columns read at once at most

// The column reader fills the reader interface (record_reader.h). Its reads
// give 2 when a line is read, 0 when the line cannot be read (it is left to be
// read again), EOF at the end of the record. The offset is that of the end of
// the last line read (before its line end), or of the start of the line that
// could not be read; rewinding skips the header again, silently.
//
// With several channels (st.channels > 0), the reads take every channel's
// column of the line and give the amplitude least fit to be used (not a
// number, or the largest magnitude), so the survey's checks cover them all.
// While the segment loop runs, it names the channel whose reads follow:
// channel 0's reads come from the file and keep the segment's times and
// amplitudes, and the other channels' reads give those back, so the file is
// read once. -1 returns to reading every channel of the file. A channel's sums
// of amplitudes and squares are read as doubles in the first pass over the
// record (the survey's count), as the survey sums the amplitude of a run of
// one channel.

// Why the last line could not be read, when its text tells more than its place: "" or a sentence.
const char* column_stop_note();

// The last header line skipped before the data ("" when none), for column names.
const char* column_header();

// Fields of the first data line.
int column_count();

// The text of the header's field for the column (1-based), without blanks or
// quotes around it; empty when the header has none.
void column_name(int column, char* out, int cap);
