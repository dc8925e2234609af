// Opening the record into stream slot 1.
#pragma once

// Opens the record at path ("-" for standard input) into stream slot 1 without
// waiting on a pipe that has no writer. Returns 0, an errno value, or
// not_regular_file for a folder, pipe or device, which cannot be read twice.
// With stream_allowed (a record read once), standard input may be a pipe, and
// a FIFO is opened, waiting for its writer.
int open_record(const char* path, bool stream_allowed = false);

// True when the record in slot 1 is a regular file, which can be read again.
bool record_is_file();
constexpr int not_regular_file = -1;
