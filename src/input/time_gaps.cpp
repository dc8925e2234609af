// The steps of the time column kept while the survey counts, and their judgement.
#include "input/time_gaps.h"

#include <cmath>

namespace {

// A relative excess of the cut over the threshold that is taken as rounding.
constexpr double cut_rounding = 1e-9;

// Takes the cut from the mean step of the pairs so far, once enough have gone
// by and the times have advanced; until then every rise is kept.
void take_cut(time_gaps& g, std::uint32_t pair, double t)
{
    if (pair - g.first_pair < gap_warmup) return;
    const double mean = (t - g.first) / (pair - g.first_pair);
    if (!(mean > 0.) || !std::isfinite(mean)) return;
    g.cut = candidate_factor * mean;
    g.warming = false;
}

// Makes room in a full store: raises the cut to what the record so far shows
// cannot be a gap, twice its smallest positive step or 1.25 times its mean
// step, and drops the kept steps back under it.
void raise_cut(time_gaps& g, std::uint32_t pair, double t)
{
    const double mean = (t - g.first) / (pair - g.first_pair);
    double cut = coarse_factor * g.smallest;
    if (candidate_factor * mean > cut) cut = candidate_factor * mean;
    if (!(cut > g.cut) || !std::isfinite(cut)) return;
    g.cut = cut;
    g.warming = false;
    int kept = 0;
    for (int i = 0; i < g.kept; ++i) {
        const double step = g.candidate[i].after - g.candidate[i].before;
        if (step <= cut && step >= 0.) continue;
        g.candidate[kept++] = g.candidate[i];
    }
    g.kept = kept;
}

} // namespace

void start_gaps(time_gaps& g, std::uint32_t pair, double t)
{
    g.prev = g.first = t;
    g.first_pair = pair;
    g.cut = 0.;
    g.smallest = std::numeric_limits<double>::infinity();
    g.warming = true;
    g.overflow = false;
    g.kept = 0;
}

bool keep_step(time_gaps& g, std::uint32_t pair, double before, double after)
{
    const double step = after - before;
    if (step > 0. && step < g.smallest) g.smallest = step;
    if (g.warming) take_cut(g, pair, after);
    if (step <= g.cut && step >= 0.) return false;
    if (g.kept == gap_candidates) raise_cut(g, pair, after);
    if (step <= g.cut && step >= 0.) return false;
    if (g.kept == gap_candidates) {
        g.overflow = true;
        return false;
    }
    g.candidate[g.kept++] = {pair, -1, before, after};
    return true;
}

void place_last_step(time_gaps& g, long long offset)
{
    g.candidate[g.kept - 1].offset = offset;
}

void join_gaps(time_gaps& g, const time_gaps& next, std::uint32_t pairs_before,
               long long seam_offset)
{
    // The step across the seam is always kept: a kept step that is no gap is
    // left out by the judgement, so only what is dropped must be known.
    const double seam = next.first - g.prev;
    if (seam > 0. && seam < g.smallest) g.smallest = seam;
    g.overflow |= g.kept == gap_candidates;
    if (g.kept < gap_candidates)
        g.candidate[g.kept++] = {pairs_before + 1, seam_offset, g.prev, next.first};
    g.overflow |= next.overflow || g.kept + next.kept > gap_candidates;
    for (int i = 0; i < next.kept && g.kept < gap_candidates; ++i) {
        g.candidate[g.kept] = next.candidate[i];
        g.candidate[g.kept++].pair += pairs_before;
    }
    if (next.smallest < g.smallest) g.smallest = next.smallest;
    if (next.cut > g.cut) g.cut = next.cut;
    g.warming = g.warming || next.warming;
    g.prev = next.prev;
}

void tally_step(gap_tally& tally, const time_step& step, double typical, double smallest)
{
    const double size = step.after - step.before;
    const bool gap = size > gap_factor * typical && size > coarse_factor * smallest;
    if (!(gap || size < 0.)) return;
    if (tally.count++ == 0) tally.first = step;
    if (std::fabs(size) > std::fabs(tally.largest)) tally.largest = size;
    tally.sum += size;
}

bool judge_gaps(const time_gaps& g, std::uint32_t steps, gap_judgement& j)
{
    j = settle_gaps(g.prev - g.first, steps, [&g](double typical) {
        gap_tally tally{};
        for (int i = 0; i < g.kept; ++i) tally_step(tally, g.candidate[i], typical, g.smallest);
        return tally;
    });
    const double threshold = gap_factor * j.typical > coarse_factor * g.smallest
                                 ? gap_factor * j.typical
                                 : coarse_factor * g.smallest;
    // The smallest step of times written with few decimals varies in its last
    // bits, so a cut raised from it may exceed the threshold by rounding only.
    return !g.overflow && g.cut <= threshold * (1. + cut_rounding);
}
