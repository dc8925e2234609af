// The whole record's statistics and its clipping count, in one pass over blocks.
#include "readings/record_statistics.h"

namespace {

// A run at the extreme has grown to length run: it counts from its third sample on.
void grow_extreme_run(extreme_runs& e, std::uint64_t run)
{
    if (run < clip_run_length) return;
    e.count += run == clip_run_length ? clip_run_length : 1;
    if (run > e.longest) e.longest = run;
}

// Takes one sample, the record's first when first, into the extremes, its run of equal
// samples and the runs at the extremes; its moments are added with its block's.
void add_sample(record_statistics_state& s, float x, std::uint64_t at, bool first)
{
    const bool new_max = first || x > s.moments.maximum;
    const bool new_min = first || x < s.moments.minimum;
    // A new extreme has not been seen before, so its runs start from nothing.
    if (new_max) {
        s.moments.maximum = x;
        s.moments.max_at = at;
        s.at_max = {};
    }
    if (new_min) {
        s.moments.minimum = x;
        s.moments.min_at = at;
        s.at_min = {};
    }
    s.run = !first && x == s.run_value ? s.run + 1 : 1;
    s.run_value = x;
    if (x == s.moments.maximum) grow_extreme_run(s.at_max, s.run);
    if (x == s.moments.minimum && s.moments.minimum != s.moments.maximum)
        grow_extreme_run(s.at_min, s.run);
}

} // namespace

void statistics_feed(record_statistics_state& s, const float* x, std::size_t count,
                     std::uint64_t first)
{
    // The block's sum is added beside the extremes: its chain of additions then
    // costs no time of its own.
    double sum = 0.;
    for (std::size_t i = 0; i < count; ++i) {
        add_sample(s, x[i], first + i, s.moments.n == 0 && i == 0);
        sum += x[i];
    }
    moments_add_summed(s.moments, x, count, sum);
}

record_statistics statistics_finish(const record_statistics_state& s)
{
    const central_moments& c = s.moments;
    const moment_figures f = figures_of(c);
    const std::uint64_t clipped = s.at_max.count + s.at_min.count;
    const std::uint64_t longest =
        s.at_max.longest > s.at_min.longest ? s.at_max.longest : s.at_min.longest;
    const double share = c.n > 0 ? static_cast<double>(clipped) / static_cast<double>(c.n) : 0.;
    return {c.n,     c.minimum, c.maximum,      c.mean,     f.deviation,
            f.peak,  f.peak_at, f.crest_factor, f.skewness, f.kurtosis,
            clipped, share,     longest};
}
