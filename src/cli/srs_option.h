// The shock response spectrum's options: --srs, --srs-profile FILE and
// --srs-tolerance LOW:HIGH. The shock profile is read before the record; a
// fault in it is a usage error (status 2) naming the file and the line.
#pragma once

#include "input/profile_file.h"
#include "readings/decibel_tolerance.h"

#include <string>
#include <vector>

// What the shock options have given.
struct srs_option_state {
    bool asked;                        // --srs (or --srs-profile) was given
    std::string profile;               // --srs-profile as given, "" for no check
    std::vector<profile_point> points; // the shock profile's breakpoints, G, once read
    decibel_tolerance tolerance;       // the inner tolerance band, dB
    bool tolerance_given;              // --srs-tolerance was given
};

// The one record of the shock options.
extern srs_option_state srs_option;

// --srs: the shock response spectrum of an acceleration record.
void take_srs(const char* text);

// --srs-profile FILE: the SRS requirement to check the spectrum against (implies --srs).
void take_srs_profile(const char* text);

// --srs-tolerance LOW:HIGH: the check's inner band in dB (default -1.5:+3).
void take_srs_tolerance(const char* text);

// After all options: --srs on a quantity other than acceleration, a tolerance
// without a profile and a broken shock profile end the run with status 2; the
// profile is read and noted as an input file of the run.
void read_srs_option();

// Forgets the shock options (the tests' reset).
void reset_srs_option();
