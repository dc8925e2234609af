// The time history's files asked on the command line: --histogram, --running,
// --spectrogram and --hold, kept as given.
#pragma once

#include <cstdint>

// What the time history's options have given; 0 or false where one was left out.
struct history_option_state {
    std::uint32_t histogram;   // --histogram N: bins of the histogram file, 0 for none
    double running;            // --running SEC: seconds per window of the running file, 0 for none
    std::uint32_t spectrogram; // --spectrogram K: segments per frame, 0 for none
    bool hold;                 // --hold: the max-hold and min-hold files
};

// The one record of the time history's options.
extern history_option_state history_option;

// --histogram N: a histogram of N bins, 8 to 4096.
void take_histogram(const char* text);

// --running SEC: running figures over windows of SEC seconds.
void take_running(const char* text);

// --spectrogram K: a spectrogram frame for every K segments, 1 to 1000000.
void take_spectrogram(const char* text);

// --hold: the max-hold and min-hold spectra.
void take_hold(const char* text);

// A usage error when one of these options comes with --survey, which computes none of them.
void check_history_options();

// Ends the run with status 2 before the pass when the rate is known (rate > 0, from
// --rate) and a --running window holds fewer than 2 samples at it.
void check_running_window(double rate);

// Forgets the time history's options (the tests' reset).
void reset_history_option();
