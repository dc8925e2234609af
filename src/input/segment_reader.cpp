// The overlapped segment reader: the first segment with the run's time base,
// then each later one from the saved half and nhs new pairs, never taking
// more pairs than the survey counted.
#include "input/segment_reader.h"
#include "core/analysis_state.h"
#include "core/end_run.h"
#include "input/pair_feed.h"
#include "input/record_change.h"
#include "input/segment_statistics.h"
#include "platform/console_format.h"

#include <cmath>

namespace {

// The first segment's step may differ this much, relatively, from the survey's.
constexpr double step_tolerance = 0.001;

// True when the first segment's step differs from the survey's by more than
// 0.1 %: time stamps too coarse for the rate, or an anomaly in the segment.
bool steps_disagree()
{
    return st.rec_dt > 0. && st.dt > 0. && std::isfinite(st.dt) &&
           !(std::fabs(st.dt - st.rec_dt) <= step_tolerance * st.rec_dt);
}

// Warns that df is taken from the whole record's step, not the first segment's.
void warn_of_step_mismatch()
{
    run_warning("\n Warning: the times of the first segment give %.3f samples/sec, those of"
                " the whole record %.3f samples/sec; df is taken from the whole record. ",
                st.sr, 1. / st.rec_dt);
}

} // namespace

void read_first_segment()
{
    zprint("\n\n reading time history ");
    const std::uint32_t allowed = pairs_allowed(st.m);
    const bool first = allowed > 0 && next_segment_pair(&st.t_first, &st.seg[0].re) == 2;
    if (!first) zprint("\n fscanf error ");
    std::uint32_t count = 1;
    while (count < allowed) {
        double t;
        if (next_segment_pair(&t, &st.seg[count].re) != 2) break;
        if (++count == st.m) st.t_last = t;
    }
    check_pairs_read(allowed, first ? count : 0);
    st.ns = count;
    if (st.ns < st.m) {
        st.status = status_exhausted;
        return;
    }
    st.dt = (st.t_last - st.t_first) / (st.ns - 1);
    st.sr = 1. / st.dt;
    const bool survey_step = steps_disagree();
    st.df = 1. / (st.m * (survey_step ? st.rec_dt : st.dt)); // m samples span m steps
    zprint("\n samples= %ld ", static_cast<long>(st.ns));
    zprint("\n dt = %10.5g sec  sr= %12.6e samples/sec", st.dt, st.sr);
    zprint("\n\n time span= %12.6g sec to %12.6g sec", st.t_first, st.t_last);
    segment_statistics(st.ns);
    zprint("\n");
    zprint("\n delta f= %14.4g ", st.df);
    if (survey_step) warn_of_step_mismatch();
}

void recheck_frequency_step()
{
    if (!steps_disagree()) return;
    st.df = 1. / (st.m * st.rec_dt);
    warn_of_step_mismatch();
}

void read_next_segment()
{
    zprint("\n\n reading time history ");
    // A transform of the segment in place leaves its spectrum in entries 0 to
    // m-1 only; the entries from m on are never written during a run and stay zero.
    for (std::uint32_t i = 0; i < st.m; ++i) st.seg[i] = {0.f, 0.f};
    for (std::uint32_t i = 0; i < st.nhs; ++i) st.seg[i].re = st.overlap[i];
    const std::uint32_t allowed = pairs_allowed(st.m - st.nhs);
    st.ns = next_segment_amplitudes(st.seg + st.nhs, allowed);
    check_pairs_read(allowed, st.ns);
    if (st.ns < st.nhs) {
        st.status = status_exhausted;
        zprint("\n   ns=%ld  nhs=%ld ", static_cast<long>(st.ns), static_cast<long>(st.nhs));
        return;
    }
    if (st.ns <= 1) {
        zprint("\n  ns error ");
        return;
    }
    segment_statistics(st.m);
    zprint("\n");
}

void save_overlap()
{
    for (std::uint32_t i = 0; i < st.nhs; ++i) st.overlap[i] = st.seg[st.nhs + i].re;
}
