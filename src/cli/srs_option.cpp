// Reading --srs, --srs-profile and --srs-tolerance, and the shock profile file.
#include "cli/srs_option.h"
#include "cli/command_line.h"
#include "cli/option_values.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "core/script_messages.h"
#include "output/record_guard.h"

namespace {

constexpr int acceleration = 1;            // input_type of an acceleration record
constexpr double amplitude_decibels = 20.; // a shock profile's slopes are amplitude dB/oct

// The record before any option: no spectrum, the default band -1.5:+3 dB.
srs_option_state unset_srs_option()
{
    return {false, "", {}, {-1.5, 3., ""}, false};
}

} // namespace

srs_option_state srs_option = unset_srs_option();

void take_srs(const char* /*text*/)
{
    srs_option.asked = true;
}

void take_srs_profile(const char* text)
{
    srs_option.asked = true;
    srs_option.profile = text;
}

void take_srs_tolerance(const char* text)
{
    const decibel_tolerance band = read_decibel_tolerance(text);
    if (!band.error.empty()) script_exit(2, "--srs-tolerance %s: %s", text, band.error.c_str());
    if (band.low < -60. || band.high > 60.)
        script_exit(2, "--srs-tolerance %s: the limits must lie within -60 to +60 dB", text);
    srs_option.tolerance = band;
    srs_option.tolerance_given = true;
}

void read_srs_option()
{
    if (srs_option.asked) refuse_with_survey("--srs");
    if (!srs_option.profile.empty()) refuse_with_survey("--srs-profile");
    if (srs_option.tolerance_given) refuse_with_survey("--srs-tolerance");
    if (srs_option.tolerance_given && srs_option.profile.empty())
        script_exit(2, "--srs-tolerance: give the shock profile with --srs-profile FILE");
    if (!srs_option.asked) return;
    if (st.input_type != acceleration)
        script_exit(2, "--srs: the shock response spectrum needs an acceleration record, not %s",
                    quantity_name(st.input_type));
    if (srs_option.profile.empty()) return;
    const std::string& file = srs_option.profile;
    const profile_reading r = read_profile_file(file, amplitude_decibels);
    if (r.line == 0 && !r.error.empty())
        script_exit(2, "--srs-profile %s: %s", file.c_str(), r.error.c_str());
    if (!r.error.empty()) script_exit(2, "%s line %d: %s", file.c_str(), r.line, r.error.c_str());
    srs_option.points = r.points;
    guard_input("shock profile", file);
}

void reset_srs_option()
{
    srs_option = unset_srs_option();
}
