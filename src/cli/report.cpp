// The scripted run's stdout report, printed once every file is in place.
#include "cli/report.h"
#include "cli/command_line.h"
#include "cli/fatigue_report.h"
#include "cli/history_report.h"
#include "cli/profile_option.h"
#include "cli/srs_report.h"
#include "core/analysis_state.h"
#include "core/quantities.h"
#include "core/script_messages.h"
#include "input/sound_reader.h"
#include "output/json_summary.h"
#include "platform/console_format.h"
#include "readings/confidence.h"
#include "readings/octave_bands.h"
#include "spectrum/finished_psd.h"

#include <algorithm>
#include <cmath>

namespace {

// Prints the segment length, df and nave of the run.
void report_segments()
{
    zfprint(stdout, "m = %lu, df = %.3e Hz, nave = %lu\n", static_cast<unsigned long>(st.m), st.df,
            static_cast<unsigned long>(st.nave));
}

// Bands outside a profile's tolerance listed at most; the check file and the summary hold all.
constexpr std::size_t bands_listed = 10;

// Prints the set's check against the profile, when it was checked: the
// profile's range and rms, the measured rms over that range and their ratio,
// the lines within, the worst line, the bands outside and the verdict.
void report_profile(const channel_outcome& set)
{
    if (set.check_file.empty()) return;
    const profile_check& c = set.check;
    zfprint(stdout, "profile: %s, %g to %g Hz, tolerance ", real_path(asked_profile().file).c_str(),
            c.low, c.high);
    if (c.tolerance_low_db == -c.tolerance_db)
        zfprint(stdout, "+-%g dB\n", c.tolerance_db);
    else
        zfprint(stdout, "%+g/%+g dB\n", c.tolerance_low_db, c.tolerance_db);
    zfprint(stdout, "profile rms = %#.4g %s, measured rms = %#.4g %s (%+.2f dB) over %g to %g Hz\n",
            c.profile_rms, rms_unit(), c.measured_rms, rms_unit(), c.rms_db, c.low, c.high);
    zfprint(stdout, "lines within tolerance: %lu of %lu\n",
            static_cast<unsigned long>(c.lines_within),
            static_cast<unsigned long>(c.lines_checked));
    if (c.lines_checked > 0)
        zfprint(stdout, "worst line: %g Hz, %+.2f dB\n", c.worst_frequency, c.worst_db);
    for (std::size_t i = 0; i < c.outside.size() && i < bands_listed; ++i)
        zfprint(stdout, "outside: %g to %g Hz, worst %+.2f dB\n", c.outside[i].low,
                c.outside[i].high, c.outside[i].worst_db);
    if (c.outside.size() > bands_listed)
        zfprint(stdout, "outside: %lu bands more, in %s\n",
                static_cast<unsigned long>(c.outside.size() - bands_listed),
                set.check_file.c_str());
    zfprint(stdout, "verdict: %s\n", c.within ? "within tolerance" : "outside tolerance");
}

// Prints how far 90 % of the PSD's lines may lie from the true PSD.
void report_confidence()
{
    const confidence_range range = confidence_90(st.nave);
    zfprint(stdout,
            "90 %% of lines within %.1f/+%.1f dB of the true PSD (%lu degrees of freedom)\n",
            range.low_db, range.high_db, static_cast<unsigned long>(range.dof));
}

// With --octave, where the octave files start: at the first band at least df wide.
void report_octave_start(const run_outcome& outcome)
{
    if (outcome.sets.empty() || outcome.sets.front().octave_start <= 0.) return;
    zfprint(stdout, "octave files: from the %.4g Hz band, the first at least df = %g Hz wide\n",
            outcome.sets.front().octave_start, st.df);
}

// Prints the tones and bands of one spectrum in unit, each line after prefix.
void report_readings(const std::string& prefix, const spectrum_readings& readings, const char* unit)
{
    for (const tone& t : readings.tones)
        zfprint(stdout, "%stone %.2f Hz: %.3e %s rms, %.3e %s peak\n", prefix.c_str(), t.frequency,
                t.rms, unit, t.peak, unit);
    for (const band_reading& b : readings.bands)
        zfprint(stdout, "%sband %g to %g Hz: %.3e %s rms\n", prefix.c_str(), b.low, b.high, b.rms,
                unit);
}

// Prints a set's readings and those of the quantities derived from it, each line after prefix.
void report_set_readings(const std::string& prefix, const channel_outcome& set)
{
    report_readings(prefix, set.readings, rms_unit());
    report_fatigue(prefix, set);
    for (const derived_outcome& d : set.derived) {
        const std::string own = prefix + quantity_name(d.quantity) + ": ";
        const char* unit = unit_label(d.quantity, 1);
        zfprint(stdout, "%soverall rms = %.3e %s\n", own.c_str(), d.overall_rms, unit);
        report_readings(own, d.readings, unit);
    }
}

// Prints the full path of each of a set's files, its own and its readings'.
void report_files(const channel_outcome& set)
{
    for (const std::string& f : set.files) zfprint(stdout, "  %s\n", f.c_str());
    for (const listed_file& f : set.more_files) zfprint(stdout, "  %s\n", f.path.c_str());
}

// Prints the one record's overall rms, its readings and its files, the summary last.
void report_one_set(const run_outcome& outcome)
{
    const channel_outcome& set = outcome.sets.front();
    zfprint(stdout, "overall rms = %.3e %s\n", set.overall_rms, rms_unit());
    report_set_readings("", set);
    zfprint(stdout, "files:\n");
    report_files(set);
    if (!set.check_file.empty()) zfprint(stdout, "  %s\n", set.check_file.c_str());
    if (!outcome.summary.empty()) zfprint(stdout, "  %s\n", outcome.summary.c_str());
    report_profile(set);
    report_srs("", set);
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
    if (!t.peak.powered) {
        zfprint(stdout, "%s: H1 n/a, the reference %s has no power\n", name.c_str(),
                t.reference_name.c_str());
        return;
    }
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

// Prints each channel's overall rms and files, then its readings, then the summary.
void report_channels(const run_outcome& outcome)
{
    for (const channel_outcome& set : outcome.sets) {
        zfprint(stdout, "column %d: overall rms = %.3e %s, files:\n", set.column, set.overall_rms,
                rms_unit());
        report_files(set);
        if (!set.check_file.empty()) zfprint(stdout, "  %s\n", set.check_file.c_str());
        report_set_readings("column " + std::to_string(set.column) + ": ", set);
        report_profile(set);
        report_srs("column " + std::to_string(set.column) + ": ", set);
        if (set.transfer) report_transfer(set);
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
    if (st.scale != 0.f) zfprint(stdout, "scale: every amplitude times %.9g\n", scale_value());
}

void report_outcome(const run_outcome& outcome)
{
    warn_of_clipping(outcome);
    for (const channel_outcome& set : outcome.sets)
        if (set.transfer && !set.transfer->peak.powered)
            script_warning("column %d: the reference %s has no power; its H1 is not available",
                           set.column, set.transfer->reference_name.c_str());
    if (opts.level == report_level::quiet) return;
    report_segments();
    report_confidence();
    report_octave_start(outcome);
    st.channels > 0 ? report_channels(outcome) : report_one_set(outcome);
    report_history(outcome);
}
