// A finished PSD held against a test profile: every line between the profile's
// first and last breakpoints is compared with the profile there, within a
// tolerance of LOW to HIGH dB; the lines outside gather into bands; the rms of
// both over the profile's range says whether the overall level matches.
#pragma once

#include "input/profile_file.h"
#include "readings/psd_view.h"

#include <cstddef>
#include <vector>

// One PSD line checked, its PSDs in the English unit squared per Hz.
struct checked_line {
    double frequency;    // k df, Hz
    double profile;      // the profile at that frequency
    double lower;        // profile 10^(LOW/10)
    double upper;        // profile 10^(HIGH/10)
    double measured;     // the line of the English PSD file
    double deviation_db; // 10 log10(measured / profile), -300 at the least (a line of 0)
    bool within;         // lower <= measured <= upper
};

// Contiguous lines outside the limits.
struct outside_band {
    double low;      // frequency of its first line, Hz
    double high;     // frequency of its last line, Hz
    double worst_db; // its deviation farthest from 0 dB
};

// The outcome of the check.
struct profile_check {
    double low;                      // the profile's first breakpoint, Hz
    double high;                     // its last breakpoint, Hz
    double profile_rms;              // the profile's rms over low..high, English unit
    double measured_rms;             // the PSD's rms over low..high (band apportionment)
    double rms_db;                   // 20 log10(measured_rms / profile_rms), -300 at the least
    double tolerance_db;             // the upper limit, dB above the profile
    double tolerance_low_db;         // the lower limit, dB (at most 0)
    std::vector<checked_line> lines; // lines 1 <= k < m/2 with low <= k df <= high
    std::size_t lines_checked;       // their number (kept when the lines are released)
    std::size_t lines_within;        // lines within the limits
    double worst_frequency;          // the line farthest from 0 dB (0 when none was checked)
    double worst_db;                 // its deviation
    std::vector<outside_band> outside;
    bool beyond_spectrum; // the profile reaches past the spectrum's last line
    bool within;          // lines were checked and every one is within
};

// Checks the PSD of view against the profile's breakpoints within low_db to high_db.
profile_check check_profile(const psd_view& view, const std::vector<profile_point>& points,
                            double low_db, double high_db);
