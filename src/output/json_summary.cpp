// The JSON summary of a scripted run and the one-line caption of its parameters.
#include "output/json_summary.h"
#include "output/file_sets.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "run/quantities.h"

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
    char text[200];
    zsprint(text, sizeof text, "m=%lu, df=%.3e Hz, nave=%lu, %s window, overall rms=%.3e %s",
            static_cast<unsigned long>(st.m), st.df, static_cast<unsigned long>(st.nave),
            window_name(), st.overall_rms, rms_unit());
    return text;
}

nlohmann::ordered_json summary_object(const std::string& record,
                                      const std::vector<std::string>& files)
{
    nlohmann::ordered_json j;
    j["record"] = {{"path", real_path(record)},
                   {"pairs", st.record_pairs},
                   {"start_time", st.rec_start},
                   {"end_time", st.rec_end},
                   {"dt", st.rec_dt},
                   {"sample_rate", 1. / st.rec_dt},
                   {"mean", st.rec_mean},
                   {"rms", st.rec_rms},
                   {"unit", record_unit()},
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
                              {"unit", file_unit(st.input_type, file)}});
    }
    return j;
}

std::string json_text(const nlohmann::ordered_json& j)
{
    // A path that is not valid UTF-8 gets replacement characters instead of ending the run.
    const std::string text =
        j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    return widen_json_exponents(text) + "\n";
}
