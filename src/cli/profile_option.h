// The scripted run's check against a test profile: --profile FILE and
// --tolerance DB. The profile file is read before the record; a fault in it is
// a usage error (status 2) naming the file and the line.
#pragma once

#include "output/result_outcome.h"

// What --profile and --tolerance have given.
struct profile_option_state {
    profile_request asked; // the profile of the run, once read
    bool tolerance_given;  // --tolerance was given
};

// The one record of the profile options.
extern profile_option_state profile_option;

// --profile FILE: the test profile to check the PSD against.
void take_profile(const char* text);

// --tolerance DB or LOW:HIGH: the tolerance in dB, +-DB or LOW to HIGH (default 3).
void take_tolerance(const char* text);

// After all options: reads the profile file, when one was given, or ends with
// status 2 and "FILE line N: ..."; returns what the result files are checked against.
const profile_request& read_profile_option();

// The profile asked for, as read_profile_option() read it.
const profile_request& asked_profile();

// Warns on standard error when the profile reaches past the spectrum, so part
// of it could not be checked.
void warn_unchecked_profile(const run_outcome& outcome);

// After the pass, before anything is staged: a profile that covers none of the
// spectrum's lines is a usage error (status 2), the folders the run made removed.
void check_profile_covers_lines();

// The exit status of a finished run: 3 when a set is outside its profile's tolerance, else 0.
int profile_status(const run_outcome& outcome);

// Forgets the profile options: no profile, the default tolerance (the tests' reset).
void reset_profile_option();
