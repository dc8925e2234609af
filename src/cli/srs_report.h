// The shock response spectrum in the scripted run's report: one line of the
// oscillators, the spectrum's peak and the record's velocity change, one of the
// record's peak, and the check against the shock profile when one was given.
#pragma once

#include "output/result_outcome.h"

#include <string>

// Prints the set's spectrum lines, each after prefix; nothing without --srs.
void report_srs(const std::string& prefix, const channel_outcome& set);
