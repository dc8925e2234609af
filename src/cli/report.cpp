// The scripted run's stdout report, printed once every file is in place.
#include "cli/report.h"
#include "cli/command_line.h"
#include "input/sound_reader.h"
#include "output/json_summary.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"
#include "run/quantities.h"

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

// Prints each channel's overall rms and files, then the summary.
void report_channels(const run_outcome& outcome)
{
    for (const channel_outcome& set : outcome.sets) {
        zfprint(stdout, "column %d: overall rms = %.3e %s, files:\n", set.column, set.overall_rms,
                rms_unit());
        for (const std::string& f : set.files) zfprint(stdout, "  %s\n", f.c_str());
    }
    if (!outcome.summary.empty()) zfprint(stdout, "summary:\n  %s\n", outcome.summary.c_str());
}

} // namespace

void report_record()
{
    if (opts.level == report_level::quiet) return;
    zfprint(stdout, "record: %s\n", real_path(opts.record).c_str());
    if (st.sound) zfprint(stdout, "sound file: %s\n", sound_description());
    zfprint(stdout, "time: %f to %f sec, %lu pairs\n", st.rec_start, st.rec_end,
            static_cast<unsigned long>(st.record_pairs));
    zfprint(stdout, "dt = %.6g sec, sr = %.3f samples/sec\n", st.rec_dt, 1. / st.rec_dt);
    if (st.channels == 0) // with several channels each has its own, in the summary
        zfprint(stdout, "record mean = %.4e %s, rms = %.4e %s (all pairs)\n", st.rec_mean,
                record_unit(), st.rec_rms, record_unit());
    zfprint(stdout, "choices: %s in %s, m = %lu, %s, %s window\n", quantity_name(st.input_type),
            record_unit(), static_cast<unsigned long>(st.m),
            st.mean_choice == mean_removed ? "mean removed" : "mean kept", window_name());
    if (st.scale != 0.f)
        zfprint(stdout, "scale: every amplitude times %.9g\n", scale_value());
}

void report_outcome(const run_outcome& outcome)
{
    if (opts.level == report_level::quiet) return;
    report_segments();
    st.channels > 0 ? report_channels(outcome) : report_one_set(outcome);
}
