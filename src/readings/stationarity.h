// The reverse-arrangements test of stationarity on the segments' mean-square
// values at the 5 % level, two-sided. At most held_values values are kept: when
// they are all taken, adjacent pairs merge into their means, so each value then
// stands for twice as many consecutive segments; the memory does not grow with the record.
#pragma once

#include <cstdint>

constexpr std::uint32_t held_values = 400;        // values kept at most (N < 400)
constexpr std::uint32_t fewest_test_values = 10;  // the test needs this many values
constexpr std::uint32_t exact_bounds_limit = 400; // exact bounds up to this N, normal ones beyond

// The accumulator: feed it one mean-square value per segment.
struct stationarity_state {
    double values[held_values] = {}; // means of span consecutive segments each, in order
    std::uint32_t held = 0;          // values held
    std::uint64_t span = 1;          // segments per held value (a power of two)
    double pending = 0.;             // sum of the segments not yet making a full value
    std::uint64_t pending_count = 0; // how many segments that sum holds
};

// The bounds of the arrangements' count that a stationary record stays between.
struct arrangement_bounds {
    std::uint64_t lower; // stationary if lower < arrangements
    std::uint64_t upper; // and arrangements <= upper
};

// The test's verdict.
struct stationarity_result {
    std::uint64_t arrangements; // pairs i < j whose value i exceeds value j
    std::uint64_t lower;        // lower bound, exclusive
    std::uint64_t upper;        // upper bound, inclusive
    std::uint32_t segments;     // N, the values tested: each the mean of span consecutive segments
    std::uint64_t span; // segments per value; the last segments short of a full value are left out
    bool tested;        // N >= 10: the verdict means something
    bool stationary;    // tested and lower < arrangements <= upper
};

// Takes the mean-square value of the next segment.
void stationarity_take(stationarity_state& s, double mean_square);

// The test over the values held.
stationarity_result stationarity_finish(const stationarity_state& s);

// Number of pairs i < j of the n values with x[i] > x[j], O(n^2).
std::uint64_t reverse_arrangements(const double* x, std::uint32_t n);

// The 5 % two-sided bounds from the exact distribution of the count for n values.
arrangement_bounds exact_arrangement_bounds(std::uint32_t n);

// The same bounds from the normal approximation (mean n(n-1)/4, variance n(2n+5)(n-1)/72).
arrangement_bounds normal_arrangement_bounds(std::uint32_t n);
