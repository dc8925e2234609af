// What a scripted run asks of its result files and what they came to: the
// request, and per set its files, readings, check and transfer results, which
// the run's result step fills and the writers, the report and the summary read.
#pragma once

#include "input/profile_file.h"
#include "readings/confidence.h"
#include "readings/history_outcome.h"
#include "readings/profile_check.h"
#include "readings/reading_request.h"
#include "readings/spectrum_readings.h"

#include "output/fatigue_outcome.h"
#include "output/srs_outcome.h"
#include "output/transfer_files.h"

#include <optional>
#include <string>
#include <vector>

// A test profile each set is checked against (--profile, --tolerance).
struct profile_request {
    std::string file;                  // the profile file as given, "" for no check
    std::vector<profile_point> points; // its breakpoints
    double tolerance_db;               // the tolerance above the profile, dB
    double tolerance_low_db;           // the tolerance below it, dB (-DB for a symmetric one)
};

// Where a scripted run's results go.
struct result_request {
    std::string folder;  // real path of the output folder
    std::string summary; // --summary as given, "" for none
    std::string record;  // the record's path as given, for the summary
    // The test profile to check each set against, if any.
    profile_request profile{};
    reading_request readings{}; // what to read from each spectrum besides its files
};

// A result file beyond the quantity's own set, with what it holds.
struct listed_file {
    std::string path;  // full path
    std::string holds; // "1/3-octave bands: centre (Hz), band PSD, band rms", "PSD", ...
    std::string unit;  // its unit, or its columns' units: "Hz, G^2/Hz, G"
};

// A quantity derived from the record's (velocity from acceleration, ...).
struct derived_outcome {
    int quantity;                   // its input_type
    double overall_rms;             // in its first unit
    spectrum_readings readings;     // its tones and bands
    std::vector<std::string> files; // full paths of its set's files, then its octave files
};

// What one set of result files holds: a record's, or one channel's.
struct channel_outcome {
    int column;                     // the channel's amplitude column, 0 for a one-channel run
    std::string folder;             // the folder its files went into
    std::vector<std::string> files; // full paths of its result files, in slot order
    double overall_rms;             // its overall rms in the quantity's first unit
    std::string check_file{};       // full path of its profile check file, "" for none
    profile_check check{};          // its check against the profile (lines released once written)
    spectrum_readings readings;     // its tones and bands
    std::vector<derived_outcome> derived;       // the quantities derived from it
    std::vector<listed_file> more_files;        // its octave files, the derived files and the table
    std::optional<transfer_outcome> transfer{}; // H1 files and resonance of a response channel
    confidence_range confidence{};              // the 90 % confidence interval of its PSD
    double octave_start = 0.;         // centre of its first octave band written, Hz; 0 for none
    fatigue_outcome fatigue{};        // its response and fatigue results, those asked for
    history_outcome history{};        // its time history's statistics and stationarity
    std::optional<srs_outcome> srs{}; // its shock response spectrum, with --srs
};

// Everything a scripted run wrote.
struct run_outcome {
    std::vector<channel_outcome> sets; // one per channel, or the record's one
    std::string summary;               // full path of the JSON summary, "" for none
};
