// The JSON summary of a scripted run and the one-line caption of its parameters.
#include "output/json_summary.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "run/quantities.h"

#include <climits>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace {

constexpr int volts = 6;

// Unit code of the SI unit each quantity's files use, by quantity 1..5.
constexpr int si_unit[] = {2, 2, 4, 2, 2};

// Units of the displacement magnitude files in slot order: inch, micro inch, meters, microns.
constexpr int displacement_units[] = {1, 3, 4, 6};

// What one result file holds and in which unit.
struct file_content {
    std::string holds;
    std::string unit;
};

// "G^2/Hz", or "(m/sec^2)^2/Hz" for a unit of more than one word or a quotient.
std::string squared_per_hz(const std::string& unit)
{
    const bool compound = unit.find_first_of("/ ") != std::string::npos;
    return (compound ? "(" + unit + ")" : unit) + "^2/Hz";
}

// What the file of a slot holds: PSD in slots 2 and 3, magnitudes from slot 4.
file_content content_of(int slot)
{
    const int type = st.input_type;
    if (type == volts) return {"PSD", squared_per_hz("V")};
    const std::string english = unit_label(type, 1);
    const std::string si = unit_label(type, si_unit[type - 1]);
    if (slot <= 3) return {"PSD", squared_per_hz(slot == 2 ? english : si)};
    if (type != 3) return {slot < 6 ? "RMS magnitude" : "peak magnitude", slot % 2 ? si : english};
    static const char* const kinds[] = {"RMS magnitude", "zero-peak magnitude",
                                        "peak-peak magnitude"};
    return {kinds[(slot - 4) / 4], unit_label(type, displacement_units[(slot - 4) % 4])};
}

} // namespace

const char* window_name()
{
    return st.window_choice == 2 ? "hanning" : "rectangular";
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
                    {"mean_removal", st.mean_choice == 1},
                    {"window", window_name()}};
    j["results"] = {{"df", st.df},
                    {"nave", st.nave},
                    {"overall_rms", st.overall_rms},
                    {"overall_rms_unit", rms_unit()},
                    {"caption", run_caption()}};
    j["files"] = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const file_content c = content_of(static_cast<int>(i) + 2);
        j["files"].push_back({{"path", files[i]}, {"holds", c.holds}, {"unit", c.unit}});
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
