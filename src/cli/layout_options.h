// The scripted run's options for records of other layouts: --column N,
// --columns all, --reference N and --rate HZ. They set the column reader's column and rate in
// analysis_state; a wrong value ends the process with status 2. Whether --columns
// all was given is kept here, outside analysis_state, until the record is open.
#pragma once

// --column N: the amplitude column, a whole number from 1 on.
void take_column(const char* text);

// --columns all: every column after the time column.
void take_every_column(const char* text);

// --reference N: with --columns all, column N is the reference channel.
void take_reference(const char* text);

// --rate HZ: the sample rate of a record without a time column, a positive number.
void take_rate(const char* text);

// After all options: checks that they fit together and sets the amplitude
// column they imply (1 with --rate, else 2) where none was given.
void check_layout_options();

// Whether --columns all was given.
bool every_column_asked();
