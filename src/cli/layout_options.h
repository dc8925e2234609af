// The scripted run's options for records of other layouts: --column N,
// --columns all, --reference N and --rate HZ. They set the column reader's column
// and rate in analysis_state; a wrong value ends the process with status 2.
// Whether --columns all was given is kept here, outside analysis_state, until
// the record is open. And --scale FACTOR, the factor of every amplitude.
#pragma once

// What the layout options have given so far.
struct layout_given_state {
    bool every_column; // --columns all was given
};

// The one record of the layout options given.
extern layout_given_state layout_given;

// --column N: the amplitude column, a whole number from 1 on.
void take_column(const char* text);

// --columns all: every column after the time column.
void take_every_column(const char* text);

// --reference N: with --columns all, column N is the reference channel.
void take_reference(const char* text);

// --rate HZ: the sample rate of a record without a time column, a positive number.
void take_rate(const char* text);

// --scale FACTOR: a finite number other than 0, rounded to single precision.
void take_scale(const char* text);

// After all options: checks that they fit together and sets the amplitude
// column they imply (1 with --rate, else 2) where none was given.
void check_layout_options();

// Once the record is open and known to be text or sound: checks the options
// that depend on which (--column 1 of text needs --rate; a sound file takes no
// --rate), ending with status 2.
void check_record_layout(const char* record);

// Whether --columns all was given.
bool every_column_asked();

// Forgets the layout options given (the tests' reset).
void reset_layout_given();
