// Running figures of the record: rms (mean removed), peak |x - mean|, crest
// factor and kurtosis of consecutive windows of a fixed number of samples, each
// handed to the caller as it completes; the last, partial window is dropped.
#pragma once

#include "readings/central_moments.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// The figures of one finished window.
struct running_window {
    std::uint64_t start; // index of the window's first sample in the record
    double rms;          // rms of x - window mean
    double peak;         // largest |x - window mean|
    double crest_factor; // peak over rms
    double kurtosis;     // fourth central moment over rms^4
};

// The accumulator: start it with running_start, feed it blocks.
struct running_figures_state {
    std::uint64_t length = 0;                        // samples per window
    central_moments window;                          // moments of the window being filled
    std::uint64_t start = 0;                         // index of its first sample
    std::function<void(const running_window&)> take; // receives each finished window
};

// Prepares windows of length samples (1 or more) whose figures go to take as each completes.
void running_start(running_figures_state& r, std::uint64_t length,
                   std::function<void(const running_window&)> take);

// Adds count samples, the first of which has index first in the record.
void running_feed(running_figures_state& r, const float* x, std::size_t count, std::uint64_t first);
