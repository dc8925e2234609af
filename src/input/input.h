// Time-history input: the survey of the whole record and the overlapped segment reader.
#pragma once

#include "input/column_reader.h"
#include "input/record_format.h"
#include "input/record_span.h"
#include "input/sound_reader.h"

#include <cstdint>

// Reads the whole record once and prints its span and the segment-length
// table. A large file of plain pairs is counted in two halves at once, whose
// amplitude sums add in another order; every figure printed is the same.
void survey_record();

// survey_record() with the sums added in record order, for a run that shows
// the record's mean and rms.
void survey_record_in_order();

// The survey's checks, warnings, figures and table from a span already read
// (by the counting pass, or gathered by the single pass).
void settle_survey(const record_span& r);

// Reads the first m samples into seg and derives dt, sr and df from their times.
void read_first_segment();

// After a single pass, whose survey came last: takes df from the survey's step
// when the first segment's differs from it, as read_first_segment() does.
void recheck_frequency_step();

// Builds the next segment from the saved half and nhs new samples.
void read_next_segment();

// Keeps the raw second half of the segment for the next one.
void save_overlap();

// Bytes of the record file now; -1 when it cannot be told.
long long record_file_bytes();

// Keeps the size of the record file as the survey leaves it (st.rec_bytes).
void note_record_size();

// True when the record file is larger now than when the survey had counted it.
bool record_grew();

// Notes the size and modification time of the record file in slot 1 as it is
// opened (nothing for a stream).
void note_record_stamp();

// Notes where a read of the record met its end: before the size seen at open,
// the record was cut while it was read. Safe on the read-ahead thread.
void note_record_end(long long offset);

// After the single pass: ends the run when the record file's size or
// modification time is not what it was at open, or a read met its end early.
void check_record_unchanged();

// The pairs a segment read may take, at most n: no more than the survey
// counted are ever read (st.record_pairs, with st.nave segments done before).
std::uint32_t pairs_allowed(std::uint32_t n);

// Ends the run when a segment read got fewer pairs than it was allowed: the
// record has changed since the survey counted it.
void check_pairs_read(std::uint32_t allowed, std::uint32_t got);

// Computes and prints ave, stddev, rms and kurtosis of seg entries 0..n-1.
void segment_statistics(unsigned n);

// Opens the record at path ("-" for standard input) into stream slot 1 without
// waiting on a pipe that has no writer. Returns 0, an errno value, or
// not_regular_file for a folder, pipe or device, which cannot be read twice.
// With stream_allowed (a record read once), standard input may be a pipe, and
// a FIFO is opened, waiting for its writer.
int open_record(const char* path, bool stream_allowed = false);

// True when the record in slot 1 is a regular file, which can be read again.
bool record_is_file();
constexpr int not_regular_file = -1;
