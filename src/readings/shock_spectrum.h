// The shock response spectrum of a record, in one pass: a bank of oscillators
// (natural frequency fn, quality factor Q) under the record as base
// acceleration, updated sample by sample with the ramp-invariant filter, so the
// memory never depends on the record's length. Oscillators with 32 samples a
// cycle or more read their peaks at the samples (at most 0.5 % low). Those with
// fewer run on the record equalised so that the straight line between its
// values acts as the band-limited record does (see band_limited_upsampling.h),
// and their peaks between values are found from the two values around them
// (peak_between_samples.h), refined wherever a value comes within the
// sampling's worst loss of the largest so far. Above sr/4 the oscillators run
// on the record upsampled by 2 first, so every oscillator has 4 values a cycle.
//
// A block is fed in two steps: take_srs_block (the record's figures, the
// streams; one caller) and then run_srs_oscillators over any split of the
// oscillators (each range may run on its own thread: the ranges share nothing
// they write, so the results never depend on timing). feed_srs does both, on
// the bank's helper thread too when it was started with two threads.
#pragma once

#include "platform/helper_thread.h"
#include "readings/peak_between_samples.h"
#include "readings/srs_loop.h"

#include <cstddef>
#include <vector>

// The oscillators that run on one stream of values.
struct srs_group {
    int factor;   // values per record sample: 1, or 2 above sr/4
    bool refined; // below 32 values a cycle: equalised stream, peaks between values refined
    std::size_t first, last; // oscillators first .. last - 1
};

// The accumulator: each oscillator's filter and state in its own array
// (structure of arrays, so the loop over oscillators runs in vector registers).
// The outputs are kept scaled (see srs_lanes): acceleration / b0, displacement / d0.
struct srs_bank {
    std::vector<double> fn;                     // natural frequencies, Hz, lowest first
    std::vector<double> a1, a2, c1, c2, e1, e2; // the scaled filters (srs_lanes)
    std::vector<double> w1, w2, y, z;           // the recursion's last two values and outputs
    std::vector<double> high,
        low; // largest and smallest acceleration since the last sample at 10 % of the peak
    std::vector<double> primary_high, primary_low; // the same up to that sample
    std::vector<double> relative;                  // largest |displacement output|
    std::vector<double> b0, d0;                    // the outputs' scales (both positive)
    std::vector<double> loss; // least ratio of the sampled to the true peak (refined groups)
    std::vector<step_response> steps; // each oscillator over one value, for its displacement
    std::vector<srs_group> groups;    // ascending fn; their ranges cover all oscillators
    const srs_paths* paths;           // the plain or the AVX2 loops (the same bits)
    double q;                         // quality factor
    double sr;                        // sample rate, Hz
    double to_si;                     // factor from the record's unit to m/sec^2
    double peak;                      // largest |sample| so far, record unit
    double sum;                       // sum of the samples
    double first_sample, last_sample; // for the trapezoidal integral
    std::size_t samples;              // samples fed
    std::vector<double> wide;         // the carried samples, then the block's (record unit)
    std::vector<unsigned char> marks; // per value of wide: at least 10 % of the peak so far
    std::size_t times;                // times of the current block
    std::size_t fold_at;              // times up to the block's last marked one (0: none)
    std::vector<double> equaliser;    // the equaliser's taps
    std::vector<double> halfway;      // the upsampling's taps for factor 2
    std::vector<double> level;        // equalised values, times -1 .. times-1
    std::vector<double> halves;       // the values halfway before times -8 .. times + 7
    std::vector<double> spread;       // the upsampled values before equalising
    std::vector<double> doubled; // upsampled and equalised, two a time, from the one before time 0
    std::size_t split;           // the helper's oscillators are split .. fn.size() - 1
    helper assistant;            // the helper thread (none with one thread)
};

// One natural frequency's results, in the record's unit (pseudo-velocity in m/sec).
struct srs_row {
    double fn;              // Hz
    double maximax;         // largest |acceleration response|
    double positive;        // largest positive response
    double negative;        // largest negative response, as a positive number
    double primary;         // largest |response| up to the last sample at 10 % of the record's peak
    double residual;        // largest |response| after it
    double pseudo_velocity; // 2 pi fn max|relative displacement|, m/sec
};

// The spectrum and the record's shock figures.
struct srs_result {
    std::vector<srs_row> rows;  // one per natural frequency, lowest first
    double q;                   // quality factor
    int upsampling;             // the largest factor used (1: none)
    double peak;                // the record's largest |acceleration|, record unit
    double velocity_change;     // trapezoidal integral of the acceleration, m/sec
    double velocity_change_ips; // the same in in/sec
    std::size_t samples;        // samples fed
};

// A bank of oscillators at natural frequencies fn (ascending, each below sr/2)
// with quality factor q, for a record sampled at sr whose unit is to_si m/sec^2;
// with threads 2 or more, feed_srs and finish_srs run half the work on a helper thread.
srs_bank start_srs(const std::vector<double>& fn, double q, double sr, double to_si,
                   int threads = 1);

// Takes a block of n samples: the record's figures and the streams the
// oscillators run on next. Call run_srs_oscillators for every oscillator before the next block.
void take_srs_block(srs_bank& bank, const float* x, std::size_t n);

// Runs oscillators first .. last - 1 over the block taken.
void run_srs_oscillators(srs_bank& bank, std::size_t first, std::size_t last);

// The oscillator that splits the work of the bank in two halves (the higher ones cost more).
std::size_t srs_split(const srs_bank& bank);

// Takes a block and runs every oscillator over it.
void feed_srs(srs_bank& bank, const float* x, std::size_t n);

// Runs the oscillators to the last sample and gives the results.
srs_result finish_srs(srs_bank& bank);
