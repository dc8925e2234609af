// The summary's entry of a set's shock response spectrum.
#include "output/srs_summary.h"

namespace {

// The check's figures: verdict, share within the inner band, worst deviation.
nlohmann::ordered_json check_json(const srs_outcome& srs)
{
    const srs_check& c = *srs.check;
    return {{"within", c.within},
            {"share_within_inner", c.share_within_inner},
            {"worst_deviation_db", c.worst_deviation_db},
            {"worst_frequency", c.worst_frequency},
            {"frequencies", c.rows.size()},
            {"within_outer", c.within_outer},
            {"inner_db", {srs.band.low, srs.band.high}},
            {"outer_db", {2. * srs.band.low, 2. * srs.band.high}}};
}

} // namespace

void add_srs_summary(nlohmann::ordered_json& summary, const channel_outcome& set)
{
    if (!set.srs) return;
    const srs_outcome& srs = *set.srs;
    const srs_row& peak = srs.result.rows[srs.peak_row];
    nlohmann::ordered_json j = {{"q", srs.oscillators.q},
                                {"octave_step", srs.oscillators.fn_step},
                                {"low", srs.oscillators.low},
                                {"high", srs.oscillators.high},
                                {"upsampling", srs.result.upsampling},
                                {"peak_frequency", peak.fn},
                                {"peak", peak.maximax * srs.to_g},
                                {"unit", "G"},
                                {"velocity_change", srs.result.velocity_change},
                                {"velocity_change_ips", srs.result.velocity_change_ips},
                                {"record_peak", srs.result.peak * srs.to_g}};
    if (srs.check) j["check"] = check_json(srs);
    summary["results"]["srs"] = j;
}
