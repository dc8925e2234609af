// What the generator is asked to make: the time base and the signal's parts.
#pragma once

#include "quantities.h"

#include "input/profile_file.h"

#include <string>
#include <vector>

// A sine x(t) = amplitude * sin(2 pi frequency t + phase).
struct sine_part {
    double amplitude; // zero-peak, in the record's unit
    double frequency; // Hz
    double phase;     // degrees
};

// Random-phase noise of a flat one-sided PSD over [low, high) Hz.
struct noise_part {
    double level; // PSD, record unit squared per Hz
    double low;   // Hz
    double high;  // Hz
};

// The whole recipe of one record.
struct recipe {
    long count = 4096;   // number of pairs
    double rate = 1024.; // samples per second
    double start = 0.;   // time of the first pair, s
    double offset = 0.;  // constant added to every sample
    std::vector<sine_part> sines;
    std::vector<noise_part> noises;
    std::vector<profile_point> profile; // noise shaped to a test profile (-p), empty for none
    std::string profile_file;           // the file it was read from
    const quantity_info* quantity = nullptr;
    const unit_info* unit = nullptr;
    unsigned long long seed = 1; // seed of the noise phases
    std::string output;          // file to write, empty for standard output
};
