// Writing the response and fatigue results into a set's JSON summary.
#include "output/fatigue_summary.h"

#include <cmath>

namespace {

// A finite number as itself, anything else as null.
nlohmann::ordered_json number_or_null(double value)
{
    return std::isfinite(value) ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
}

} // namespace

void add_fatigue_summary(nlohmann::ordered_json& summary, const channel_outcome& set)
{
    nlohmann::ordered_json& results = summary["results"];
    const fatigue_outcome& f = set.fatigue;
    if (f.vrs.asked)
        results["vrs"] = {{"q", f.vrs.q},
                          {"peak_frequency", f.vrs.peak_frequency},
                          {"peak", f.vrs.peak},
                          {"unit", "G"}};
    if (f.fds.asked)
        results["fds"] = {{"exponent", f.fds.exponent},
                          {"duration", f.fds.duration},
                          {"smallest_ratio", number_or_null(f.fds.smallest_ratio)},
                          {"smallest_ratio_frequency", number_or_null(f.fds.smallest_ratio_fn)}};
    const damage_outcome& d = f.damage;
    if (d.asked)
        results["fatigue"] = {{"exponent", d.exponent},
                              {"constant", d.constant},
                              {"rainflow_damage", d.rainflow_damage},
                              {"narrowband_damage", d.narrowband_damage},
                              {"dirlik_damage", d.dirlik_damage},
                              {"rainflow_life", number_or_null(d.rainflow_life)},
                              {"narrowband_life", number_or_null(d.narrowband_life)},
                              {"dirlik_life", number_or_null(d.dirlik_life)}};
}
