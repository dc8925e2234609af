// The scripted run's stdout report, printed once every file is in place.
#include "cli/report.h"
#include "cli/command_line.h"
#include "output/json_summary.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "run/quantities.h"

#include <algorithm>
#include <cmath>

namespace {

// Prints the segment length, df and nave of the run.
void report_segments()
{
    zfprint(stdout, "m = %lu, df = %.3e Hz, nave = %lu\n", static_cast<unsigned long>(st.m), st.df,
            static_cast<unsigned long>(st.nave));
}

// Prints the one record's overall rms and its files, the summary last.
void report_one_set(const run_outcome& outcome)
{
    const channel_outcome& set = outcome.sets.front();
    zfprint(stdout, "overall rms = %.3e %s\n", set.overall_rms, rms_unit());
    zfprint(stdout, "files:\n");
    for (const std::string& f : set.files) zfprint(stdout, "  %s\n", f.c_str());
    if (!outcome.summary.empty()) zfprint(stdout, "  %s\n", outcome.summary.c_str());
}

// Prints a response channel's H1 files and its resonance line:
// "Response: resonance 118.0 Hz, |H1| 9.99, Q 10.1, coherence 0.999 (reference Control)",
// the names those of the channels' folders (col3 for a column the header names
// not), the frequency to a tenth of df or finer, "Q n/a" when |H1| does not fall
// to half power on both sides, and a note with the mean coherence when no bin is coherent.
void report_transfer(const channel_outcome& set)
{
    const transfer_outcome& t = *set.transfer;
    for (const std::string& f : t.files) zfprint(stdout, "  %s\n", f.c_str());
    const std::string name = set.folder.substr(set.folder.rfind('/') + 1);
    const int decimals = std::max(1, static_cast<int>(-std::floor(std::log10(st.df))));
    char q[32] = "n/a";
    if (t.peak.has_q) zsprint(q, sizeof q, "%#.3g", t.peak.q);
    zfprint(stdout, "%s: resonance %.*f Hz, |H1| %#.3g, Q %s, coherence %.3f (reference %s)",
            name.c_str(), decimals, t.peak.frequency, t.peak.magnitude, q, t.peak.coherence,
            t.reference_name.c_str());
    if (!t.peak.coherent)
        zfprint(stdout, "; no bin reaches coherence %.1f, mean coherence %.3f", coherent_level,
                t.peak.mean_coherence);
    zfprint(stdout, "\n");
}

// Prints each channel's overall rms and files, then the summary.
void report_channels(const run_outcome& outcome)
{
    for (const channel_outcome& set : outcome.sets) {
        zfprint(stdout, "column %d: overall rms = %.3e %s, files:\n", set.column, set.overall_rms,
                rms_unit());
        for (const std::string& f : set.files) zfprint(stdout, "  %s\n", f.c_str());
        if (set.transfer) report_transfer(set);
    }
    if (!outcome.summary.empty()) zfprint(stdout, "summary:\n  %s\n", outcome.summary.c_str());
}

} // namespace

void report_record()
{
    if (opts.level == report_level::quiet) return;
    zfprint(stdout, "record: %s\n", real_path(opts.record).c_str());
    zfprint(stdout, "time: %f to %f sec, %lu pairs\n", st.rec_start, st.rec_end,
            static_cast<unsigned long>(st.record_pairs));
    zfprint(stdout, "dt = %.6g sec, sr = %.3f samples/sec\n", st.rec_dt, 1. / st.rec_dt);
    if (st.channels == 0) // with several channels each has its own, in the summary
        zfprint(stdout, "record mean = %.4e %s, rms = %.4e %s (all pairs)\n", st.rec_mean,
                record_unit(), st.rec_rms, record_unit());
    zfprint(stdout, "choices: %s in %s, m = %lu, %s, %s window\n", quantity_name(st.input_type),
            record_unit(), static_cast<unsigned long>(st.m),
            st.mean_choice == mean_removed ? "mean removed" : "mean kept", window_name());
}

void report_outcome(const run_outcome& outcome)
{
    if (opts.level == report_level::quiet) return;
    report_segments();
    st.channels > 0 ? report_channels(outcome) : report_one_set(outcome);
}
