// Reading --profile and --tolerance, the profile file, and the verdict's exit status.
#include "cli/profile_option.h"
#include "cli/option_values.h"
#include "core/analysis_state.h"
#include "core/script_messages.h"
#include "output/record_guard.h"
#include "readings/decibel_tolerance.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr double default_tolerance_db = 3.;

// The record before any option: no profile, the default tolerance.
profile_option_state unset_profile_option()
{
    return {{"", {}, default_tolerance_db, -default_tolerance_db}, false};
}

} // namespace

profile_option_state profile_option = unset_profile_option();

void take_profile(const char* text)
{
    profile_option.asked.file = text;
}

void take_tolerance(const char* text)
{
    const decibel_tolerance band = read_decibel_tolerance(text);
    if (!band.error.empty() || band.low < -60. || band.high > 60.)
        script_exit(2,
                    "--tolerance %s: a positive number of dB, at most 60, or LOW:HIGH within"
                    " -60:+60 is expected",
                    text);
    profile_option.asked.tolerance_db = band.high;
    profile_option.asked.tolerance_low_db = band.low;
    profile_option.tolerance_given = true;
}

const profile_request& read_profile_option()
{
    if (profile_option.asked.file.empty()) {
        if (profile_option.tolerance_given)
            script_exit(2, "--tolerance: give the profile with --profile FILE");
        return profile_option.asked;
    }
    const profile_reading r = read_profile_file(profile_option.asked.file);
    if (r.line == 0 && !r.error.empty())
        script_exit(2, "--profile %s: %s", profile_option.asked.file.c_str(), r.error.c_str());
    if (!r.error.empty())
        script_exit(2, "%s line %d: %s", profile_option.asked.file.c_str(), r.line,
                    r.error.c_str());
    profile_option.asked.points = r.points;
    guard_input("profile", profile_option.asked.file);
    return profile_option.asked;
}

const profile_request& asked_profile()
{
    return profile_option.asked;
}

void warn_unchecked_profile(const run_outcome& outcome)
{
    if (profile_option.asked.file.empty() || outcome.sets.empty()) return;
    const profile_check& c = outcome.sets.front().check;
    if (c.beyond_spectrum)
        script_warning("the spectrum's last line is at %g Hz, below the profile's last breakpoint"
                       " at %g Hz; the profile above it is not checked",
                       (0.5 * st.m - 1.) * st.df, c.high);
}

void check_profile_covers_lines()
{
    if (profile_option.asked.file.empty()) return;
    const double low = profile_option.asked.points.front().frequency,
                 high = profile_option.asked.points.back().frequency;
    std::uint32_t k = 1; // the first line at or above low
    if (low / st.df < 0.5 * st.m)
        k = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(low / st.df));
    while (k * st.df < low && k < st.m / 2) ++k;
    if (k < st.m / 2 && k * st.df <= high) return;
    script_exit(2, "the profile from %g to %g Hz covers none of the spectrum's lines, df = %g Hz",
                low, high, st.df);
}

int profile_status(const run_outcome& outcome)
{
    for (const channel_outcome& set : outcome.sets)
        if ((!set.check_file.empty() && !set.check.within) ||
            (set.srs && set.srs->check && !set.srs->check->within))
            return 3;
    return 0;
}

void reset_profile_option()
{
    profile_option = unset_profile_option();
}
