// The JSON summary of a scripted run and the one-line caption of its parameters.
#include "output/json_summary.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "output/fatigue_summary.h"
#include "output/file_sets.h"
#include "output/srs_summary.h"
#include "output/staged_files.h"
#include "output/transfer_files.h"
#include "platform/console_format.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <nlohmann/json.hpp>

const char* window_name()
{
    return st.window_choice == hanning_window ? "hanning" : "rectangular";
}

const char* record_unit()
{
    return unit_label(st.input_type, st.input_unit);
}

const char* rms_unit()
{
    return unit_label(st.input_type, 1);
}

std::string real_path(const std::string& path)
{
    char real[PATH_MAX];
    return realpath(path.c_str(), real) != nullptr ? real : path;
}

double scale_value()
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text - 1, st.scale);
    *written.ptr = '\0';
    return std::strtod(text, nullptr);
}

std::string run_caption()
{
    return run_caption(st.overall_rms, rms_unit());
}

std::string run_caption(double overall_rms, const char* unit)
{
    char text[200];
    zsprint(text, sizeof text, "m=%lu, df=%.3e Hz, nave=%lu, %s window, overall rms=%.3e %s",
            static_cast<unsigned long>(st.m), st.df, static_cast<unsigned long>(st.nave),
            window_name(), overall_rms, unit);
    return text;
}

nlohmann::ordered_json summary_object(const std::string& record,
                                      const std::vector<std::string>& files)
{
    nlohmann::ordered_json j;
    j["record"] = {
        {"path", real_path(record)}, {"pairs", st.record_pairs}, {"start_time", st.rec_start},
        {"end_time", st.rec_end},    {"dt", st.rec_dt},          {"sample_rate", 1. / st.rec_dt},
        {"mean", st.rec_mean},       {"rms", st.rec_rms},        {"unit", record_unit()},
        {"time_gaps", st.gaps}};
    j["choices"] = {{"quantity", quantity_name(st.input_type)},
                    {"unit", record_unit()},
                    {"m", st.m},
                    {"mean_removal", st.mean_choice == mean_removed},
                    {"window", window_name()}};
    if (st.scale != 0.f) j["choices"]["scale"] = scale_value();
    j["results"] = {{"df", st.df},
                    {"nave", st.nave},
                    {"overall_rms", st.overall_rms},
                    {"overall_rms_unit", rms_unit()},
                    {"caption", run_caption()}};
    j["files"] = nlohmann::ordered_json::array();
    const file_set& set = file_set_of(st.input_type);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const result_file& file = set.files[i];
        j["files"].push_back({{"path", files[i]},
                              {"holds", content_name(file.content)},
                              {"unit", file_unit(st.input_type, file)},
                              {"size", written_size(files[i])}});
    }
    return j;
}

void add_profile_summary(nlohmann::ordered_json& j, const channel_outcome& set,
                         const std::string& profile_file)
{
    if (set.check_file.empty()) return;
    const profile_check& c = set.check;
    const result_file& psd = file_set_of(st.input_type).files[0];
    j["files"].push_back({{"path", set.check_file},
                          {"holds", "profile check"},
                          {"unit", file_unit(st.input_type, psd)},
                          {"size", written_size(set.check_file)}});
    nlohmann::ordered_json outside = nlohmann::ordered_json::array();
    for (const outside_band& band : c.outside)
        outside.push_back({{"low", band.low}, {"high", band.high}, {"worst_db", band.worst_db}});
    j["profile"] = {{"file", real_path(profile_file)},
                    {"low", c.low},
                    {"high", c.high},
                    {"profile_rms", c.profile_rms},
                    {"measured_rms", c.measured_rms},
                    {"rms_db", c.rms_db},
                    {"tolerance_db", c.tolerance_db},
                    {"tolerance_low_db", c.tolerance_low_db},
                    {"lines", c.lines_checked},
                    {"lines_within", c.lines_within},
                    {"worst_frequency", c.worst_frequency},
                    {"worst_db", c.worst_db},
                    {"outside", outside},
                    {"within", c.within}};
}

void add_transfer_summary(nlohmann::ordered_json& summary, const transfer_outcome& transfer)
{
    for (std::size_t i = 0; i < transfer.files.size(); ++i)
        summary["files"].push_back({{"path", transfer.files[i]},
                                    {"holds", transfer_files[i].holds},
                                    {"unit", transfer_files[i].unit},
                                    {"size", written_size(transfer.files[i])}});
    const resonance& peak = transfer.peak;
    // A reference without power gives no H1: its figures are null.
    const auto figure = [](bool known, double value) {
        return known ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
    };
    summary["transmissibility"] = {
        {"reference", {{"column", transfer.reference_column}, {"folder", transfer.reference_name}}},
        {"peak_frequency", figure(peak.powered, peak.frequency)},
        {"peak_magnitude", figure(peak.powered, peak.magnitude)},
        {"coherence_at_peak", figure(peak.powered, peak.coherence)},
        {"q", figure(peak.powered && peak.has_q, peak.q)}};
}

std::string json_text(const nlohmann::ordered_json& j)
{
    // A path that is not valid UTF-8 gets replacement characters instead of ending the run.
    const std::string text =
        j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    return widen_json_exponents(text) + "\n";
}

namespace {

// The tones as the summary lists them, in unit.
nlohmann::ordered_json tones_json(const std::vector<tone>& tones, const char* unit)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const tone& t : tones)
        list.push_back(
            {{"frequency", t.frequency}, {"rms", t.rms}, {"peak", t.peak}, {"unit", unit}});
    return list;
}

// The bands as the summary lists them, in unit.
nlohmann::ordered_json bands_json(const std::vector<band_reading>& bands, const char* unit)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const band_reading& b : bands)
        list.push_back({{"low", b.low}, {"high", b.high}, {"rms", b.rms}, {"unit", unit}});
    return list;
}

// The summary's entry of a derived quantity.
nlohmann::ordered_json derived_json(const derived_outcome& d)
{
    const char* unit = unit_label(d.quantity, 1);
    return {{"quantity", quantity_name(d.quantity)},
            {"overall_rms", d.overall_rms},
            {"unit", unit},
            {"tones", tones_json(d.readings.tones, unit)},
            {"bands", bands_json(d.readings.bands, unit)},
            {"caption", run_caption(d.overall_rms, unit)},
            {"files", d.files}};
}

} // namespace

void add_readings(nlohmann::ordered_json& summary, const channel_outcome& set)
{
    nlohmann::ordered_json& results = summary["results"];
    results["tones"] = tones_json(set.readings.tones, rms_unit());
    results["bands"] = bands_json(set.readings.bands, rms_unit());
    const confidence_range& range = set.confidence;
    results["dof"] = range.dof;
    results["confidence_90_db"] = {range.low_db, range.high_db};
    results["derived"] = nlohmann::ordered_json::array();
    for (const derived_outcome& d : set.derived) results["derived"].push_back(derived_json(d));
    add_srs_summary(summary, set);
    add_fatigue_summary(summary, set);
    for (const listed_file& f : set.more_files)
        summary["files"].push_back({{"path", f.path}, {"holds", f.holds}, {"unit", f.unit}});
}
