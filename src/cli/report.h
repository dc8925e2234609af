// The scripted run's report on standard output: the record's survey figures
// and the choices, then the results and the files written.
#pragma once

#include "output/result_outcome.h"

// Prints the record's survey figures and the run's choices.
void report_record();

// Prints the segment length, df and nave, then each set's overall rms and
// files, and the summary's path.
void report_outcome(const run_outcome& outcome);
