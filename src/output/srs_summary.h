// The shock response spectrum in a set's JSON summary: results.srs with the
// oscillators, the upsampling, the spectrum's peak and the record's velocity
// change, and results.srs.check with the check against the shock profile.
#pragma once

#include "output/result_outcome.h"

#include <nlohmann/json.hpp>

// Adds results.srs (and results.srs.check) of the set, when it has a spectrum.
void add_srs_summary(nlohmann::ordered_json& summary, const channel_outcome& set);
