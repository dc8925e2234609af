// Gathering the survey from the single pass's reads, and settling it at the end.
#include "input/pass_survey.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "input/amplitude_scale.h"
#include "input/open_record.h"
#include "input/pair_feed.h"
#include "input/record_format.h"
#include "input/record_span.h"
#include "input/segment_reader.h"
#include "input/survey_record.h"

#include <cfloat>
#include <cmath>
#include <string>

pass_survey_state pass_survey{};

namespace {

// Takes one read of the record into the span.
void take(int result, double time, float amplitude)
{
    const std::uint32_t before = pass_survey.span.ns;
    take_read(pass_survey.span, result, time, amplitude, [] { return -1LL; });
    if (pass_survey.span.ns > before && result == 2 && st.scale != 0.f &&
        pass_survey.scaled_over == 0 && std::isfinite(amplitude) &&
        !std::isfinite(amplitude * st.scale))
        pass_survey.scaled_over = pass_survey.span.ns;
}

// How many of the n reads, from the first on, take() would take as pairs that
// keep the count going and change nothing but the sums, the time steps and the
// count: none is the record's first read, each is a pair, none turns the span
// suspect, and --scale's check has nothing to look for.
std::uint32_t usual_reads(const double* time, const float* amplitude, const signed char* result,
                          std::uint32_t n)
{
    const record_span& r = pass_survey.span;
    if (r.ns == 0 || !r.counting) return 0;
    if (st.scale != 0.f && pass_survey.scaled_over == 0) return 0;
    const std::uint32_t room = pair_limit - 2 - r.ns; // pairs the count takes before its limit
    const std::uint32_t most = n < room ? n : room;
    std::uint32_t k = 0;
    if (r.suspect)
        while (k < most && result[k] == 2) ++k;
    else
        while (k < most && result[k] == 2 && std::fabs(time[k]) <= DBL_MAX &&
               std::isfinite(amplitude[k]))
            ++k;
    return k;
}

// Takes n usual reads (usual_reads()) as take() takes them one by one, the
// sums kept in registers across the block.
void take_usual(const double* time, const float* amplitude, std::uint32_t n)
{
    record_span& r = pass_survey.span;
    double sum = r.sum;
    double sum_sq = r.sum_sq;
    for (std::uint32_t i = 0; i < n; ++i) {
        if (note_time(r.gaps, r.ns + i + 1, time[i])) place_last_step(r.gaps, -1);
        const double a = amplitude[i];
        sum += a;
        sum_sq += a * a;
    }
    r.sum = sum;
    r.sum_sq = sum_sq;
    r.end = time[n - 1];
    r.ns += n;
    r.stop_result = 2;
}

// Reads the rest of the record after the segment pass, so that the count,
// the last time and the sums cover all of it.
void read_rest()
{
    stop_pair_feed();
    survey_channel(-1);
    select_record_channel(-1);
    while (pass_survey.span.counting) {
        double time = 0.;
        float amplitude = 0.f;
        scan_segment_pair(&time, &amplitude);
    }
}

// Marks the span suspect when a channel's sums show a value that is not finite
// (the reads of channel 0 show only its own amplitudes).
void check_channel_sums()
{
    for (int c = 0; c < st.channels; ++c) {
        double sum = 0.;
        double sum_sq = 0.;
        record_channel_sums(c, sum, sum_sq);
        if (!std::isfinite(sum_sq)) pass_survey.span.suspect = true;
    }
}

// Ends the run when an amplitude times --scale's factor is beyond single precision.
void check_scaled()
{
    if (pass_survey.scaled_over == 0) return;
    end_run("\n\n Error: --scale %g: amplitude %lu of the record times the factor is"
            " beyond single precision. \n",
            static_cast<double>(st.scale), static_cast<unsigned long>(pass_survey.scaled_over));
}

} // namespace

void begin_pass_survey()
{
    st.one_pass = true;
    st.record_pairs = pair_limit - 1;
    pass_survey.span = record_span{};
    pass_survey.span.counting = true;
    pass_survey.channel = -1;
    pass_survey.scaled_over = 0;
    pass_survey.in_bytes = record_is_file();
}

void survey_channel(int c)
{
    pass_survey.channel = c;
}

void survey_reads(const double* time, const float* amplitude, const signed char* result,
                  std::uint32_t n)
{
    if (!st.one_pass || pass_survey.channel > 0 || !pass_survey.span.counting) return;
    std::uint32_t i = 0;
    if (pass_survey.span.ns == 0 && n > 0) { // the record's first read starts the span
        take(result[0], time[0], amplitude[0]);
        i = 1;
    }
    const std::uint32_t usual = usual_reads(time + i, amplitude + i, result + i, n - i);
    if (usual > 0) take_usual(time + i, amplitude + i, usual);
    for (i += usual; i < n && pass_survey.span.counting; ++i)
        take(result[i], time[i], amplitude[i]);
}

void end_pass_survey()
{
    read_rest();
    pass_survey.span.stop_offset = record_offset();
    check_channel_sums();
    settle_survey(pass_survey.span);
    check_scaled();
    scale_record_figures();
    recheck_frequency_step();
}

void end_short_pass()
{
    read_rest();
    pass_survey.span.stop_offset = record_offset();
    settle_survey(pass_survey.span);
    check_segment_fits();
    run_failed("the first segment could not be read"); // the survey ends the run before this
}

void check_segment_fits()
{
    if (st.m <= st.record_pairs) return;
    std::string message = "-m " + std::to_string(st.m) + ": the record holds only " +
                          std::to_string(st.record_pairs) + " pairs; choose a smaller power of two";
    if (record_is_file())
        message += std::string(" ('zentri --survey ") + st.fname[1] + "' lists them)";
    run_failed(message);
}

unsigned long long pass_progress()
{
    if (!st.one_pass) return st.nave;
    if (pass_survey.in_bytes) return static_cast<unsigned long long>(feed_offset());
    return st.nave == 0 ? 0 : st.m + std::uint64_t{st.nave - 1} * st.nhs;
}

void reset_pass_survey()
{
    pass_survey = pass_survey_state{};
}
