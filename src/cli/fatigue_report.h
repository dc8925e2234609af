// The report's lines of the response and fatigue results, one each:
//   vrs (q 10): peak 1.109e+001 G rms at 200.0 Hz
//   fds (b 8): the profile over 120 sec covers the record by a factor of 3.2 at least (at 412 Hz)
//   damage (b 6, c 1): rainflow 1.2e-003, narrow-band ..., Dirlik ...; lives ... sec
#pragma once

#include "output/result_outcome.h"

#include <string>

// Prints the set's response and fatigue lines asked for, each after prefix.
void report_fatigue(const std::string& prefix, const channel_outcome& set);
