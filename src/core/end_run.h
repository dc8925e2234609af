// How a run ends early or warns: on the console in the dialogue, as one line on
// standard error in the scripted run. Every folder may use it.
#pragma once

#include <string>

// Prints the formatted message and ends the process with exit status 1; in the
// scripted run the message goes to standard error as one line instead.
[[noreturn]] void end_run(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Prints a warning that does not stop the run: on the console in the dialogue,
// as one line on standard error in the scripted run.
void run_warning(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Ends a scripted run with the message, as it stands, on standard error and status 1.
[[noreturn]] void run_failed(const std::string& message);

// Prints "\n Input Error" and ends the process with exit status 1.
[[noreturn]] void input_error();
