// What a set's response and fatigue results came to (--vrs, --fds, --rainflow,
// --sn): the figures the report and the summary print; their rows are in the
// set's files.
#pragma once

#include <cstdint>

// The peak of the VRS.
struct vrs_outcome {
    bool asked;            // --vrs was given
    double q;              // the oscillators' quality factor
    double peak_frequency; // natural frequency of the largest VRS, Hz
    double peak;           // the largest VRS, G rms
    int rows_left_out;     // natural frequencies whose Miles or ERS cannot be computed
};

// The FDS and the profile's cover of it.
struct fds_outcome {
    bool asked;             // --fds was given
    double exponent;        // the S-N exponent B
    double record_duration; // the record's FDS is over it, sec
    double duration;        // the profile's FDS is over it (--duration or the record's), sec
    bool has_profile;       // a profile was compared
    double smallest_ratio;  // the profile's FDS over the record's, smallest; NaN without a profile
    double smallest_ratio_fn; // its natural frequency, Hz
    double peak_frequency;    // natural frequency of the record's largest damage, Hz
    double peak;              // the record's largest damage potential, m^B
    std::uint32_t uncovered;  // natural frequencies where the ratio is below 1
    double uncovered_low;     // the lowest of them, Hz
    double uncovered_high;    // the highest of them, Hz
};

// The damage estimates for an S-N curve.
struct damage_outcome {
    bool asked;               // --sn was given
    double exponent;          // B of N S^B = C
    double constant;          // C
    double duration;          // the record's duration the damages are over, sec
    double rainflow_damage;   // Miner's sum of the rainflow cycles
    double narrowband_damage; // from the PSD, Rayleigh amplitudes
    double dirlik_damage;     // from the PSD's moments, Dirlik's range distribution
    double rainflow_life;     // duration over damage, sec; inf for no damage
    double narrowband_life;   // sec; inf for no damage
    double dirlik_life;       // sec; inf for no damage
};

// A set's response and fatigue results.
struct fatigue_outcome {
    vrs_outcome vrs;       // --vrs
    fds_outcome fds;       // --fds
    damage_outcome damage; // --sn
};
