// What the time history of one record or channel came to: its statistics in
// the quantity's first unit, the time of its peak and the stationarity test.
#pragma once

#include "readings/record_statistics.h"
#include "readings/stationarity.h"

// The time history's results of a set, as the report and the summary print them.
struct history_outcome {
    bool computed = false;              // the pass gave the set's statistics
    record_statistics statistics{};     // minimum .. kurtosis, in unit; clipping
    double peak_time = 0.;              // time of the peak sample, s
    const char* unit = "";              // the quantity's first unit ("G", "V")
    stationarity_result stationarity{}; // the reverse-arrangements test of the segments
};
