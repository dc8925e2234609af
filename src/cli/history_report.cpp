// The statistics, clipping and stationarity lines of each set.
#include "cli/history_report.h"
#include "core/analysis_state.h"
#include "core/script_messages.h"
#include "platform/console_format.h"

#include <string>

namespace {

// "column N: " before a channel's lines, nothing for a one-channel record.
std::string prefix_of(const channel_outcome& set)
{
    return st.channels > 0 ? "column " + std::to_string(set.column) + ": " : "";
}

// Prints the stationarity line of a set tested.
void report_stationarity(const std::string& prefix, const stationarity_result& r)
{
    if (!r.tested) return;
    zfprint(stdout, "%s%s at the 5 %% level (reverse arrangements %lu, bounds %lu to %lu over %u ",
            prefix.c_str(), r.stationary ? "stationary" : "not stationary",
            static_cast<unsigned long>(r.arrangements), static_cast<unsigned long>(r.lower),
            static_cast<unsigned long>(r.upper), r.segments);
    if (r.span == 1)
        zfprint(stdout, "segments)\n");
    else
        zfprint(stdout, "means of %lu segments)\n", static_cast<unsigned long>(r.span));
}

} // namespace

void warn_of_clipping(const run_outcome& outcome)
{
    for (const channel_outcome& set : outcome.sets) {
        const record_statistics& s = set.history.statistics;
        if (!set.history.computed || s.clipped == 0) continue;
        script_warning("%sthe record may be clipped: %lu samples (%.2f %%) at its extreme values,"
                       " in runs of up to %lu",
                       prefix_of(set).c_str(), static_cast<unsigned long>(s.clipped),
                       100. * s.clipped_share, static_cast<unsigned long>(s.longest_clip));
    }
}

void report_history(const run_outcome& outcome)
{
    for (const channel_outcome& set : outcome.sets) {
        const history_outcome& h = set.history;
        if (!h.computed) continue;
        const std::string prefix = prefix_of(set);
        const record_statistics& s = h.statistics;
        zfprint(stdout,
                "%stime history: peak %.3e %s at %.3f sec, crest factor %.2f, skewness %.2f,"
                " kurtosis %.2f\n",
                prefix.c_str(), s.peak, h.unit, h.peak_time, s.crest_factor, s.skewness,
                s.kurtosis);
        report_stationarity(prefix, h.stationarity);
    }
}
