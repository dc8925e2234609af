// A shock response spectrum held against the SRS profile of a test's
// requirement: every natural frequency from the first to the last breakpoint
// is compared with the requirement there (straight lines on log-log axes); the
// check is met when at least 90 % of them lie within the inner tolerance band
// and all of them within twice its limits. Deviations are amplitude decibels.
#pragma once

#include "input/profile_file.h"
#include "readings/decibel_tolerance.h"
#include "readings/shock_spectrum.h"

#include <cstddef>
#include <vector>

// One natural frequency checked, in the requirement's unit.
struct srs_check_row {
    double fn;           // Hz
    double requirement;  // the requirement at fn
    double lower;        // requirement 10^(LOW/20)
    double upper;        // requirement 10^(HIGH/20)
    double maximax;      // the measured maximax
    double deviation_db; // 20 log10(maximax / requirement)
};

// The outcome of the check.
struct srs_check {
    std::vector<srs_check_row> rows; // the natural frequencies within the breakpoints
    std::size_t within_inner;        // rows within LOW..HIGH
    std::size_t within_outer;        // rows within 2 LOW..2 HIGH
    double share_within_inner;       // within_inner over the rows (0 when none)
    double worst_deviation_db;       // the deviation nearest to or farthest past its limit
    double worst_frequency;          // its natural frequency (0 when no row)
    bool within;                     // rows were checked, 90 % inner and all outer
};

// Checks the rows' maximax (scaled by to_requirement into the requirement's
// unit) against the requirement's breakpoints with the tolerance band.
srs_check check_srs(const std::vector<srs_row>& rows, double to_requirement,
                    const std::vector<profile_point>& requirement, const decibel_tolerance& band);
