// Messages of the scripted run: each one line on standard error, "zentri: ...".
#pragma once

#include <cstdarg>
#include <string>

// A message formatted through the program's formatter (at most 2047 characters).
std::string formatted(const char* fmt, va_list ap);

// The console text of a message as one line: blanks and line ends run together
// into single blanks, none at either end, and a leading "Error: " or "Warning: " dropped.
std::string one_line(const char* text);

// The text with its control characters written out: \n, \t and the like,
// \xHH for the others, so that a path cannot break a message's one line.
std::string escaped(const std::string& text);

// Prints "zentri: " and the formatted message on standard error, clears the
// progress bar, removes the run's temporary files and the folders it made and
// closes the open streams first, and ends the process with the status (1 run
// failed, 2 usage).
[[noreturn]] void script_exit(int status, const char* fmt, ...)
    __attribute__((format(printf, 2, 3)));

// Prints "zentri: warning: " and the formatted message on standard error.
void script_warning(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
