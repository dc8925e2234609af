// The time history's lines of the scripted run's report: the clipping warning
// on standard error, the statistics and stationarity lines on standard output.
#pragma once

#include "output/result_outcome.h"

// Warns, per set, of samples that sit at the record's extremes in runs of 3 or more.
void warn_of_clipping(const run_outcome& outcome);

// Prints, per set, the statistics line and, with 10 or more segments, the stationarity line.
void report_history(const run_outcome& outcome);
