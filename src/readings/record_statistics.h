// Statistics of the whole record, fed block by block in the record's unit as
// read: extremes, mean, moments, peak and its sample, crest factor, skewness,
// kurtosis, and the samples that sit at the extremes in runs (clipping).
#pragma once

#include "readings/central_moments.h"

#include <cstddef>
#include <cstdint>

// Samples in runs of this many equal samples or more at an extreme count as clipped.
constexpr std::uint64_t clip_run_length = 3;

// The clipped samples found so far at one extreme (the current maximum or minimum).
struct extreme_runs {
    std::uint64_t count = 0;   // samples at the extreme in runs of clip_run_length or more
    std::uint64_t longest = 0; // longest such run
};

// The accumulator: feed it blocks with statistics_feed, read it with statistics_finish.
struct record_statistics_state {
    central_moments moments; // mean, moments and extremes of the samples fed
    float run_value = 0.f;   // value of the current run of equal samples
    std::uint64_t run = 0;   // length of the current run
    extreme_runs at_max;     // clipped samples at the current maximum
    extreme_runs at_min;     // clipped samples at the current minimum
};

// What the record's statistics report.
struct record_statistics {
    std::uint64_t samples;      // samples fed
    double minimum;             // smallest sample
    double maximum;             // largest sample
    double mean;                // mean
    double deviation;           // standard deviation (mean removed)
    double peak;                // largest |x - mean|
    std::uint64_t peak_at;      // index of the sample at that peak
    double crest_factor;        // peak over deviation
    double skewness;            // 0 for a symmetric record
    double kurtosis;            // 3 for a Gaussian record, 1.5 for a sine
    std::uint64_t clipped;      // samples at an extreme in runs of 3 or more
    double clipped_share;       // clipped over samples (0..1)
    std::uint64_t longest_clip; // longest run of them
};

// Adds count samples, the first of which has index first in the record.
void statistics_feed(record_statistics_state& s, const float* x, std::size_t count,
                     std::uint64_t first);

// The statistics of the samples fed so far.
record_statistics statistics_finish(const record_statistics_state& s);
