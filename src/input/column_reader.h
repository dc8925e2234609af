// The column reader of scripted runs: a record of one sample per line, with
// fields separated by blanks and tabs, commas or semicolons (found from the
// first data line), header and comment lines before the data skipped, the
// time in column 1 or made from a sample rate, and the amplitude in a chosen
// column (st.column), or in every column at once (st.channels). A line with
// too few fields, or a field that is not a number, ends the record there.
#pragma once

#include "core/analysis_state.h"
#include "input/block_source.h"
#include "input/record_reader.h"

#include <cstdint>

constexpr int max_channels = 16;   // amplitude columns read at once at most
constexpr int header_chars = 1024; // header text kept at most

// Where the column reader stands in the record: its block of the record (the
// longest line it reads whole is a full block), and what it knows of the lines.
struct column_state : block_source {
    bool overlong = false;          // the line found last did not fit the block
    char line_end = '\n';           // '\n', or '\r' for a record of lone "\r" line ends
    bool started = false;           // the header is behind and the separator known
    char separator = ' ';           // ',' or ';', or ' ' for runs of blanks and tabs
    int fields = 0;                 // fields of the first data line
    std::uint32_t samples = 0;      // lines read since the start, for times made from the rate
    bool reported = false;          // the skipped header lines have been reported
    long long last_end = 0;         // offset of the end of the last line read, before its line end
    long long line_start = 0;       // offset of the line being read
    const char* note = "";          // why the last line could not be read, or ""
    char header[header_chars] = {}; // the last header line skipped
    bool named = false;             // it is not a comment line
    int channel = -1;               // channel whose reads follow in the segment loop, or -1
    int kept = 0;                   // lines of the segment kept by channel 0
    int given = 0;                  // lines of the segment given back to the current channel
    int end_result = 0;             // what channel 0's read gave after the lines kept
    bool first_pass = true;         // no rewind since the stream was adopted
    double sum[max_channels] = {};  // sums of each channel's amplitudes in the first pass
    double sum_sq[max_channels] = {}; // and of their squares
};
extern column_state column_read;

// The lines of the current segment as channel 0 read them, for the other channels.
struct column_kept_lines {
    double time[max_m];                   // their times
    float amplitude[max_channels][max_m]; // each channel's amplitudes
};
extern column_kept_lines column_kept;

// For tests: the reader back to its start-up state (the kept lines are
// written before they are read).
void reset_column_reader();

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
