// The histogram of the record's samples in one pass: a fine grid of bins whose
// width is a power of two doubles as the range grows (pairs of fine bins merge
// exactly), and at the end the fine bins between the minimum and the maximum are
// grouped into the N bins written. Every edge is an integer times the width, so
// the counts are exact against the edges written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::uint32_t fewest_histogram_bins = 8;  // smallest N accepted
constexpr std::uint32_t most_histogram_bins = 4096; // largest N accepted

// The accumulator: start it with histogram_start, feed it blocks, read it with histogram_finish.
struct sample_histogram_state {
    std::uint32_t bins = 0;          // N, bins written
    std::vector<std::uint64_t> fine; // counts of the fine grid, fine bin i = global base + i
    double width = 0.;               // width of a fine bin, a power of two
    std::int64_t base = 0;           // global index of fine bin 0: its lower edge is base * width
    std::int64_t low = 0;            // global index of the lowest sample's fine bin
    std::int64_t high = 0;           // global index of the highest sample's fine bin
    std::uint64_t samples = 0;       // finite samples counted
    std::uint64_t skipped = 0;       // samples left out as not finite
};

// One row of the histogram written.
struct histogram_row {
    double centre;       // bin centre, (lower + upper edge) / 2
    double width;        // bin width
    std::uint64_t count; // samples in [lower edge, upper edge)
    double density;      // count / (samples * width)
    double gaussian;     // Gaussian density of the record's mean and deviation at the centre
};

// Prepares an empty histogram of bins output bins (8..4096; clamped to that range).
void histogram_start(sample_histogram_state& h, std::uint32_t bins);

// Counts count samples.
void histogram_feed(sample_histogram_state& h, const float* x, std::size_t count);

// The N rows, the record's mean and deviation giving the Gaussian column; empty when no sample was
// counted.
std::vector<histogram_row> histogram_finish(const sample_histogram_state& h, double mean,
                                            double deviation);
