// The record survey: one counting pass over the whole record, its checks and
// warnings, the time step judged against the record's anomalies, and the
// table of segment-length choices.
#include "input/survey_record.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "input/column_reader.h"
#include "input/open_record.h"
#include "input/record_change.h"
#include "input/record_format.h"
#include "input/record_place.h"
#include "input/record_reader.h"
#include "input/record_span.h"
#include "input/survey_halves.h"
#include "input/time_gaps.h"
#include "platform/console_format.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// Amplitudes of this magnitude and above may round to infinity as a float: it is
// the midpoint between the largest float and 2^128.
constexpr double float_rounding_edge = 0x1.ffffffp127;

// Reads the whole record once, counting pairs and keeping the first and last
// time, where the count stopped, and whether any value read looks unusable.
// Plain pairs of a file are counted in two halves at once where the sums'
// order does not matter.
record_span count_pairs(bool mean_shown)
{
    record_span r{};
    r.counting = true;
    if (&record_reader_in_use() == &fast_scanner) { // the other readers read one pass at a time
        count_record(r, !mean_shown);
        note_record_size();
        return r;
    }
    for (;;) {
        double t = 0.;
        double amplitude = 0.;
        const int result = scan_survey_pair(&t, &amplitude);
        if (!take_read(r, result, t, amplitude, [] { return record_offset(); })) break;
    }
    r.stop_offset = record_offset();
    note_record_size();
    return r;
}

} // namespace

bool suspect_pair(int result, double time, double amplitude)
{
    return (result >= 1 && !(std::fabs(time) <= DBL_MAX)) ||
           (result == 2 && !(std::fabs(amplitude) < float_rounding_edge));
}

namespace {

// Warns that the rest of the file is not used when the count stopped before
// its end: at the pair limit, or at text other than white space where the next
// unread byte is.
// (A time alone at the end has a warning of its own.)
void warn_of_unread_text(const record_span& r)
{
    if (r.stop_result == EOF || r.stop_result == 1) return;
    const long pairs = r.first_ok ? r.ns : r.ns - 1;
    if (r.stop_result == 2 && st.scripted) // a pair was the last read: the count's limit
        return run_warning("\n Warning: reading stopped at the limit of %ld pairs; the rest of"
                           " the input is not used. \n",
                           pairs);
    if (!record_is_file()) {
        run_warning("\n Warning: reading stopped after %ld pairs, at text that is not a pair of"
                    " numbers; the rest of the input is not used.%s \n",
                    pairs, st.column != 0 ? column_stop_note() : "");
        return;
    }
    const record_place place = find_record_place(r.stop_offset);
    if (!place.found) return;
    run_warning(
        "\n Warning: reading stopped at line %ld, at the text \"%s\"; %ld pairs were counted"
        " and the rest of the file is not used.%s \n",
        place.line, place.text, pairs, st.column != 0 ? column_stop_note() : "");
}

// Ends the run when a counted pair holds a time or an amplitude that is not a
// finite number, or an amplitude that is infinite as a float, naming its line.
// The count only flags suspects (an amplitude read as a double may sit on the
// float rounding edge); the pairs are read again here as the segment reader
// reads them, the amplitude as a float, to find the first one for certain.
void check_values(const record_span& r)
{
    if (!r.suspect) return;
    if (!record_is_file())
        end_run("\n\n Error: pair %lu holds a time or an amplitude that is not a finite number"
                " or is beyond single precision. \n",
                static_cast<unsigned long>(r.first_suspect));
    rewind_record();
    for (std::uint32_t i = 0; i < r.ns; ++i) {
        const long long at = record_offset();
        double t = 0.;
        float a = 0.f;
        const int result = scan_segment_pair(&t, &a);
        if (result != 2 || (std::isfinite(t) && std::isfinite(a))) continue;
        const record_place place = find_record_place(at);
        end_run("\n\n Error: line %ld holds a time or an amplitude that is not a finite number"
                " or is beyond single precision: \"%s\" \n",
                place.line, place.text);
    }
}

// Ends the run when the record cannot give a time step.
void check_span(const record_span& r)
{
    if (!r.first_ok || r.ns < 2)
        end_run("\n\n Error: the input file must hold at least two pairs of numbers,"
                " time(sec) and amplitude, with no header line. \n");
    const double dt = (r.end - r.start) / (r.ns - 1);
    if (!(std::isfinite(r.start) && std::isfinite(r.end) && dt > 0. && std::isfinite(dt) &&
          std::isfinite(1. / dt))) {
        end_run("\n\n Error: the time column must increase; the record starts at %g sec"
                " and ends at %g sec. \n",
                r.start, r.end);
    }
}

// Prints one row of the segment-length table.
void print_row(long choice, double df, std::uint32_t p, std::uint32_t segments, long dof,
               double duration, double std_error)
{
    zprint("\n %ld\t%10.3f\t%ld\t   %ld\t   %ld\t%10.4f  %10.4f", choice, df, static_cast<long>(p),
           static_cast<long>(segments), dof, duration, std_error);
}

// Prints the table of segment-length choices, from the largest power of two down to 8.
void print_table(std::uint32_t ns, double dur, double dt)
{
    const int e = static_cast<int>(std::log(static_cast<double>(ns)) / std::log(2.));
    std::uint32_t p = 1u << e;
    std::uint32_t k = 1;
    while (p > max_m) {
        p /= 2;
        k *= 2;
    }
    long choice = 1;
    double df = 1. / (p * dt);
    double duration = p * dt;
    zprint("\n");
    zprint("\n Choice\t    DF\t      Samples\tSegments  Dof\t Duration\tStd");
    zprint("\n       \t    (Hz)      per seg  \t\t\t\t        Error");
    print_row(choice, df, p, k, 2L * k, duration, 1. / std::sqrt(df * dur));
    for (;;) {
        df = 2. * df;
        const double std_error = 1. / std::sqrt(df * dur);
        p /= 2;
        const std::uint32_t segments = ns / p;
        duration = static_cast<double>(segments * p) * dt;
        if (p <= 4) break;
        ++choice;
        print_row(choice, df, p, segments, 2L * segments, duration, std_error);
    }
    zprint("\n");
}

// Judges the time steps by reading the whole record again, each guess of the
// typical step a pass of its own; used only when the counting pass could not
// keep every step that may be a gap.
gap_judgement judge_record_again(const record_span& r)
{
    return settle_gaps(r.end - r.start, r.ns - 1, [&r](double typical) {
        gap_tally tally{};
        rewind_record();
        double before = 0.;
        for (std::uint32_t pair = 1; pair <= r.ns; ++pair) {
            double t = 0.;
            double amplitude = 0.;
            scan_survey_pair(&t, &amplitude);
            if (pair > 1)
                tally_step(tally, {pair, record_offset(), before, t}, typical, r.gaps.smallest);
            before = t;
        }
        return tally;
    });
}

// The typical step of the time column and its anomalies.
gap_judgement judge_time_steps(const record_span& r)
{
    gap_judgement j{};
    // A record that cannot be read again (a pipe) is judged on the steps kept.
    if (!judge_gaps(r.gaps, r.ns - 1, j) && record_is_file()) j = judge_record_again(r);
    return j;
}

// Where a step of the time column is: "line N" of its later pair, or "pair N"
// in a record that cannot be read again (a pipe). A step kept without its
// offset (by the single pass, which reads pairs a block at a time) has it
// found by reading the record again up to that pair.
std::string step_place(const time_step& step)
{
    if (!record_is_file()) return "pair " + std::to_string(step.pair);
    long long offset = step.offset;
    if (offset < 0) {
        rewind_record();
        for (std::uint32_t pair = 1; pair <= step.pair; ++pair) {
            double t = 0.;
            double amplitude = 0.;
            scan_survey_pair(&t, &amplitude);
        }
        offset = record_offset();
    }
    return "line " + std::to_string(record_line(offset));
}

// Warns, once, of the gaps and steps back of the time column: the first one
// with its line and times, how many there are and the largest, in typical steps.
void warn_of_gaps(const gap_judgement& j)
{
    const gap_tally& tally = j.tally;
    st.gaps = tally.count;
    if (tally.count == 0) return;
    const time_step& first = tally.first;
    const double dt = j.typical;
    run_warning("\n Warning: the time column jumps at %s, from %lf to %lf sec (%.0f steps of %lf"
                " sec); %ld such gap%s, the largest %.0f dt. The spectrum assumes a constant time"
                " step. ",
                step_place(first).c_str(), first.before, first.after,
                (first.after - first.before) / dt, dt, tally.count, tally.count == 1 ? "" : "s",
                tally.largest / dt);
}

// Warns that a last line holding a time and no amplitude is not counted.
void warn_of_lone_time(const record_span& r)
{
    if (r.stop_result != 1) return;
    if (!record_is_file())
        return run_warning("\n Warning: the input ends with a time and no amplitude; it is not"
                           " counted. ");
    run_warning("\n Warning: line %ld holds a time and no amplitude; it is not counted. ",
                find_record_place(r.stop_offset).line);
}

// Keeps what the survey learnt of the record in the program-wide record.
void keep_record_figures(const record_span& r, double dt)
{
    st.record_pairs = r.ns;
    st.rec_start = r.start;
    st.rec_end = r.end;
    st.rec_dt = dt;
    st.rec_mean = r.sum / r.ns;
    st.rec_rms = std::sqrt(r.sum_sq / r.ns);
}

} // namespace

void survey_record()
{
    settle_survey(count_pairs(false));
}

void survey_record_in_order()
{
    settle_survey(count_pairs(true));
}

void settle_survey(const record_span& r)
{
    warn_of_unread_text(r);
    check_span(r);
    check_values(r);
    const gap_judgement steps = judge_time_steps(r);
    // ns times span ns - 1 steps; with anomalies, of the typical step
    const bool anomalies = steps.tally.count > 0;
    const double dt = anomalies ? steps.typical : (r.end - r.start) / (r.ns - 1);
    const double dur = anomalies ? (r.ns - 1) * dt : r.end - r.start;
    const double sr = 1. / dt;
    keep_record_figures(r, dt);
    zprint("\n time %lf to %lf sec", r.start, r.end);
    zprint("\n dur = %11.4f sec\tns = %ld samples", dur, static_cast<long>(r.ns));
    zprint("\n dt = %11.6f sec\tsr = %11.3f samples/sec ", dt, sr);
    print_table(r.ns, dur, dt);
    warn_of_lone_time(r);
    warn_of_gaps(steps);
}
