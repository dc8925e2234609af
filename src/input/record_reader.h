// The one interface of the record's readers: a table of calls that the fast
// scanner, the reference reader, the column reader and the sound reader each
// fill, one of which is chosen when the record is opened. A read gives 2 and
// takes a pair, or takes nothing: 1 when a time is followed by the end of the
// record, 0 when the text there cannot be read, EOF at the end.
#pragma once

#include <cstdint>

struct record_reader {
    int (*survey_pair)(double* time, double* amplitude); // one pair, the amplitude as a double
    int (*segment_pair)(double* time, float* amplitude); // one pair, the amplitude as a float
    std::uint32_t (*segment_block)(double* time, float* amplitude, signed char* result,
                                   std::uint32_t n); // up to n segment pairs, each read's result
    void (*rewind)();                                // back to the record's first byte
    long long (*offset)();               // byte offset of the next character a read looks at
    void (*select_channel)(int channel); // the channel whose reads follow; -1 every channel
    void (*channel_sums)(int channel, double& sum, double& sum_sq); // a channel's first-pass sums
    void (*close)(); // lets go of what the reader holds of the record
};

extern const record_reader fast_scanner;     // record_scanner.cpp: pairs parsed in large blocks
extern const record_reader reference_reader; // record_reference.cpp: pairs read with fscanf
extern const record_reader column_reader;    // column_reader.cpp: one sample per line, by column
extern const record_reader sound_reader;     // sound_reader.cpp: a sound file's frames

// The reader chosen for the record of stream slot 1.
struct reader_choice_state {
    const record_reader* in_use; // chosen when the record was opened; nullptr before
};
extern reader_choice_state reader_choice;

// Chooses the record's reader: the sound reader for a sound file (st.sound),
// the column reader when a column is read (st.column), else pair_reader().
void choose_record_reader();

// The reader chosen for the record, chosen now when none was yet.
const record_reader& record_reader_in_use();

// For tests: no reader chosen.
void reset_reader_choice();

// The calls of a reader of one channel that keeps no other (the readers of
// plain pairs): naming a channel does nothing, its sums are 0, closing lets
// nothing go.
void no_channel_select(int channel);
void no_channel_sums(int channel, double& sum, double& sum_sq);
void nothing_to_close();

// Reads up to n pairs with read_pair into time[i], amplitude[i], keeping each
// read's result; stops after the first read that gives no pair and returns
// the number of reads made. Both readers fill their blocks this way.
template <class ReadPair>
std::uint32_t scan_pairs_with(ReadPair read_pair, double* time, float* amplitude,
                              signed char* result, std::uint32_t n)
{
    std::uint32_t i = 0;
    while (i < n) {
        result[i] = static_cast<signed char>(read_pair(time + i, amplitude + i));
        if (result[i++] != 2) break;
    }
    return i;
}
