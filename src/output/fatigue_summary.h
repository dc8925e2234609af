// The response and fatigue results in a set's JSON summary: results.vrs
// {q, peak_frequency, peak, unit}, results.fds {exponent, duration,
// smallest_ratio, smallest_ratio_frequency} (the ratio fields null without a
// profile) and results.fatigue {exponent, constant, the rainflow, narrow-band
// and Dirlik damages and lives} (a life null where there is no damage); each only
// when asked for.
#pragma once

#include "output/result_outcome.h"

#include <nlohmann/json.hpp>

// Adds the set's response and fatigue results asked for to its summary's results.
void add_fatigue_summary(nlohmann::ordered_json& summary, const channel_outcome& set);
