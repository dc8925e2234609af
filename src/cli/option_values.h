// The values the scripted run's options take: quantity and unit names, the
// segment length and the window, checked and turned into analysis_state's codes.
// A value that is not one of the choices ends the process with status 2.
#pragma once

#include <string>

// Lower case, with '-' and '_' read as blanks, so "Micro-Inch" matches "micro inch".
std::string folded(const char* text);

// Reads a whole number from lowest to highest that is the whole text into n; false otherwise.
bool read_whole_number(const char* text, long lowest, long highest, long& n);

// Quantity code 1..6 of a name ("velocity") or menu number.
int quantity_code(const char* text);

// Window code of "hanning" (2) or "rectangular" (1), or of the menu numbers 2 and 1.
int window_code(const char* text);

// Sets m, nhs and nstages from a power of two from 2 to 65536.
void set_segment_length(const char* text);

// Sets the threads of the transforms from a whole number from 1 to max_threads (--threads).
void set_thread_count(const char* text);

// Whether text is the whole of a positive finite number, which goes into value.
bool positive_number(const char* text, double& value);

// A usage error when option, one of the results a run computes, comes with --survey,
// which prints the survey only; nothing for option null.
void refuse_with_survey(const char* option);

// After all options: resolves the unit against the quantity and checks that
// what a run needs was given (a quantity and m, unless only the survey is asked).
void check_choices();
