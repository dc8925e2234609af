// The fatigue damage spectrum (FDS) of an acceleration PSD: per natural
// frequency the narrow-band damage potential of the oscillator's relative
// displacement (m) over a duration, with S-N exponent b and constant 1; beside
// it a test profile's over the test duration, and where the profile covers it.
#pragma once

#include "input/profile_file.h"
#include "readings/psd_view.h"

#include <string>
#include <vector>

// How the oscillators and the damage are set.
struct fds_setup {
    double q;             // the oscillators' quality factor
    double exponent;      // S-N exponent b, above 0
    double duration;      // the record's duration (or the one asked for), sec
    double test_duration; // the profile's test duration, sec
};

// One oscillator's damage potentials.
struct fds_point {
    double fn;      // natural frequency, Hz
    double record;  // the record's damage potential, m^b
    double profile; // the profile's over the test duration, m^b; 0 without a profile
    double ratio;   // profile over record; NaN without a profile or without record damage
};

// The FDS and the comparison with a profile, or the usage fault.
struct fds_result {
    std::string error;             // "" when computed, else what is wrong
    std::vector<fds_point> points; // one per natural frequency, in the order given
    bool has_profile;              // a profile was compared
    double smallest_ratio;         // the smallest ratio, NaN without a profile
    double smallest_ratio_fn;      // its natural frequency, Hz; NaN without a profile
    std::vector<double> uncovered; // natural frequencies where the ratio is below 1
};

// The FDS of the acceleration record's PSD (an error for another quantity),
// and with profile (G^2/Hz, null for none) the profile's and their ratio.
fds_result fatigue_damage_spectrum(const psd_view& view, const std::vector<double>& fn,
                                   const fds_setup& setup,
                                   const std::vector<profile_point>* profile);
