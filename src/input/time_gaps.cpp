// Keeping the steps of the time column that may be gaps and tallying them once dt is known.
#include "input/time_gaps.h"

#include <cmath>

void start_gaps(time_gaps& g, std::uint32_t pair, double t, long long offset)
{
    g.prev = g.first = t;
    g.first_pair = pair;
    g.first_offset = offset;
    g.cut = 0.;
    g.warming = true;
    g.overflow = false;
    g.kept = 0;
}

// Takes the reference step from the mean step of the pairs so far, once enough
// have gone by and the times have advanced; until then every rise is kept.
void take_reference(time_gaps& g, std::uint32_t pair, double t)
{
    if (pair - g.first_pair < gap_warmup) return;
    const double reference = (t - g.first) / (pair - g.first_pair);
    if (!(reference > 0.) || !std::isfinite(reference)) return;
    g.cut = candidate_factor * reference;
    g.warming = false;
}

bool keep_step(time_gaps& g, std::uint32_t pair, double before, double after)
{
    if (g.warming) take_reference(g, pair, after);
    const double step = after - before;
    if (!g.warming && step <= g.cut && step >= 0.) return false;
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

void tally_step(gap_tally& tally, const time_step& step, double dt)
{
    const double size = step.after - step.before;
    if (!(size > gap_factor * dt || size < 0.)) return;
    if (tally.count++ == 0) tally.first = step;
    if (std::fabs(size) > std::fabs(tally.largest)) tally.largest = size;
}

bool judge_gaps(const time_gaps& g, double dt, gap_tally& tally)
{
    tally = gap_tally{};
    for (int i = 0; i < g.kept; ++i) tally_step(tally, g.candidate[i], dt);
    return !g.overflow && g.cut <= gap_factor * dt;
}
