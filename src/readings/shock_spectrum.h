// The shock response spectrum of a record, in one pass: a bank of oscillators
// (natural frequency fn, quality factor Q) under the record as base
// acceleration, updated sample by sample with the ramp-invariant filter, so the
// memory never depends on the record's length. Oscillators with fewer than 32
// samples a cycle run on the record upsampled by a power of two (band-limited
// interpolation), so no peak between samples reads more than 0.5 % low.
//
// A block is fed in two steps: take_srs_block (the record's figures, the
// upsampled streams; one caller) and then run_srs_oscillators over any split of
// the oscillators (each range may run on its own thread: the ranges share
// nothing they write, so the results never depend on timing).
#pragma once

#include "readings/ramp_invariant.h"

#include <cstddef>
#include <vector>

// The oscillators that run on the record upsampled by one factor.
struct srs_group {
    int factor;                // samples per record sample, a power of two
    std::size_t first, last;   // oscillators first .. last - 1
    std::vector<double> taps;  // the interpolation's taps (none for factor 1)
    std::vector<double> stream; // the block's times, factor values each (factor > 1)
};

// The accumulator: each oscillator's filter and state in its own array
// (structure of arrays, so the loop over oscillators runs in vector registers).
struct srs_bank {
    std::vector<double> fn;        // natural frequencies, Hz, lowest first
    std::vector<double> a1, a2;    // the shared poles
    std::vector<double> b0, b1, b2; // absolute acceleration
    std::vector<double> d0, d1, d2; // -wn^2 times the relative displacement
    std::vector<double> w1, w2;    // the recursion's last two values
    std::vector<double> high, low; // largest and smallest acceleration response
    std::vector<double> since;     // largest |response| since the last sample at 10 % of the peak
    std::vector<double> primary;   // largest |response| up to that sample
    std::vector<double> relative;  // largest wn^2 |relative displacement|
    std::vector<srs_group> groups; // by factor, ascending; their ranges cover all oscillators
    double q;                      // quality factor
    double sr;                     // sample rate, Hz
    double to_si;                  // factor from the record's unit to m/sec^2
    double peak;                   // largest |sample| so far, record unit
    double sum;                    // sum of the samples
    double first_sample, last_sample; // for the trapezoidal integral
    std::size_t samples;           // samples fed
    std::vector<double> wide;      // the carried samples, then the block's (record unit)
    std::vector<unsigned char> marks; // per value of wide: at least 10 % of the peak so far
    std::size_t times;             // times of the current block
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
// with quality factor q, for a record sampled at sr whose unit is to_si m/sec^2.
srs_bank start_srs(const std::vector<double>& fn, double q, double sr, double to_si);

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
