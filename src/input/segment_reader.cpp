// Reading the overlapped segments of the record: the first one whole, then half a segment each.
#include "input/input.h"
#include "input/pair_feed.h"
#include "platform/console_format.h"
#include "run/analysis_state.h"

void read_first_segment()
{
    zprint("\n\n reading time history ");
    if (next_segment_pair(&st.t_first, &st.seg[0].re) < 1) zprint("\n fscanf error ");
    std::uint32_t count = 1;
    while (count < st.m) {
        double t;
        if (next_segment_pair(&t, &st.seg[count].re) < 1) break;
        if (++count == st.m) st.t_last = t;
    }
    st.ns = count;
    if (st.ns < st.m) {
        st.status = status_exhausted;
        return;
    }
    st.dt = (st.t_last - st.t_first) / (st.ns - 1);
    st.sr = 1. / st.dt;
    st.df = 1. / (st.m * st.dt); // m samples span m steps of the record
    zprint("\n samples= %ld ", static_cast<long>(st.ns));
    zprint("\n dt = %10.5g sec  sr= %12.6e samples/sec", st.dt, st.sr);
    zprint("\n\n time span= %12.6g sec to %12.6g sec", st.t_first, st.t_last);
    segment_statistics(st.ns);
    zprint("\n");
    zprint("\n delta f= %14.4g ", st.df);
}

void read_next_segment()
{
    zprint("\n\n reading time history ");
    // The transform leaves its spectrum in entries 0 to m-1 only; the entries
    // from m on are never written during a run and stay zero.
    for (std::uint32_t i = 0; i < st.m; ++i) st.seg[i].im = 0.f;
    for (std::uint32_t i = 0; i < st.nhs; ++i) st.seg[i].re = st.overlap[i];
    for (std::uint32_t i = st.nhs; i < st.m; ++i) st.seg[i].re = 0.f;
    st.ns = next_segment_amplitudes(st.seg + st.nhs, st.m - st.nhs);
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
