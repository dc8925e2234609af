// The overlapped segment reader: the first segment, each next one, the saved half.
#pragma once

// Reads the first m samples into seg and derives dt, sr and df from their times.
void read_first_segment();

// After a single pass, whose survey came last: takes df from the survey's step
// when the first segment's differs from it, as read_first_segment() does.
void recheck_frequency_step();

// Builds the next segment from the saved half and nhs new samples.
void read_next_segment();

// Keeps the raw second half of the segment for the next one.
void save_overlap();
