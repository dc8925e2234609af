// The one-pass histogram: a fine grid that widens by merging pairs, grouped into N bins at the end.
#include "readings/sample_histogram.h"

#include <algorithm>
#include <cmath>

namespace {

// Fine bins per output bin at least; the grid has a power of two of them, 2^16 or more.
constexpr std::uint32_t fine_per_bin = 64;

// Floor of a over 2^d for a signed a of less than 2^62 in size; d may pass the word's width
// (the first sample 0 sets bins of 2^-149, which a later sample of 1 widens 2^140 times).
std::int64_t floor_shift(std::int64_t a, int d)
{
    if (d >= 62) return a >= 0 ? 0 : -1;
    return a >= 0 ? a >> d : -((-a + (std::int64_t{1} << d) - 1) >> d);
}

// The first sample sets a fine width about 2^-30 of its size (the smallest float step for 0).
void first_sample(sample_histogram_state& h, float x)
{
    const double size = std::fabs(static_cast<double>(x));
    h.width = size > 0. ? std::ldexp(1., std::ilogb(size) - 30) : std::ldexp(1., -149);
    const auto j = static_cast<std::int64_t>(std::floor(x / h.width));
    h.low = h.high = j;
    h.base = j - static_cast<std::int64_t>(h.fine.size() / 2);
}

// Span in fine bins of the samples so far and x once the bins are 2^d times wider (in double: x
// may lie far outside the grid).
double span_with(const sample_histogram_state& h, float x, int d)
{
    const double j = std::floor(x / std::ldexp(h.width, d));
    const double low = std::min(std::floor(std::ldexp(static_cast<double>(h.low), -d)), j);
    const double high = std::max(std::floor(std::ldexp(static_cast<double>(h.high), -d)), j);
    return high - low + 1.;
}

// Makes the fine bins 2^d times wider, merging their counts, takes in x's bin and puts the
// occupied span in the middle of the grid.
void make_room(sample_histogram_state& h, float x)
{
    const auto g = static_cast<std::int64_t>(h.fine.size());
    int d = 0;
    while (span_with(h, x, d) > static_cast<double>(g)) ++d;
    const auto j = static_cast<std::int64_t>(std::floor(x / std::ldexp(h.width, d)));
    const std::int64_t low = std::min(floor_shift(h.low, d), j);
    const std::int64_t high = std::max(floor_shift(h.high, d), j);
    const std::int64_t base = low - (g - (high - low + 1)) / 2;
    std::vector<std::uint64_t> merged(h.fine.size(),
                                      0); // rare: only when the range outgrows the grid
    for (std::int64_t i = 0; i < g; ++i)
        if (h.fine[i] != 0) merged[floor_shift(h.base + i, d) - base] += h.fine[i];
    h.fine.swap(merged);
    h.width = std::ldexp(h.width, d);
    h.low = low;
    h.high = high;
    h.base = base;
}

// Counts one finite sample.
void count_sample(sample_histogram_state& h, float x)
{
    if (h.samples == 0) first_sample(h, x);
    double q = std::floor(x / h.width);
    const auto g = static_cast<double>(h.fine.size());
    if (q < static_cast<double>(h.base) || q >= static_cast<double>(h.base) + g) {
        make_room(h, x);
        q = std::floor(x / h.width);
    }
    const auto j = static_cast<std::int64_t>(q);
    h.low = std::min(h.low, j);
    h.high = std::max(h.high, j);
    h.fine[j - h.base] += 1;
    h.samples += 1;
}

} // namespace

void histogram_start(sample_histogram_state& h, std::uint32_t bins)
{
    h = {};
    h.bins = std::clamp(bins, fewest_histogram_bins, most_histogram_bins);
    std::uint32_t g = 65536;
    while (g < h.bins * fine_per_bin) g *= 2;
    h.fine.assign(g, 0);
}

namespace {

// Counts the samples from x[i] on while each falls inside the grid as it is; the index of
// the first that does not (or count). x times 1/width is x / width exactly: a power of two.
std::size_t count_inside(sample_histogram_state& h, const float* x, std::size_t i,
                         std::size_t count)
{
    const double inverse = 1. / h.width;
    const auto base = static_cast<double>(h.base);
    const double top = base + static_cast<double>(h.fine.size());
    std::int64_t low = h.low;
    std::int64_t high = h.high;
    std::uint64_t* fine = h.fine.data();
    const std::size_t from = i;
    for (; i < count; ++i) {
        const double q = std::floor(x[i] * inverse);
        if (!(q >= base && q < top)) break; // outside, or not a number
        const auto j = static_cast<std::int64_t>(q);
        low = std::min(low, j);
        high = std::max(high, j);
        fine[j - h.base] += 1;
    }
    h.low = low;
    h.high = high;
    h.samples += i - from;
    return i;
}

} // namespace

void histogram_feed(sample_histogram_state& h, const float* x, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (h.samples > 0) i = count_inside(h, x, i, count);
        if (i == count) break;
        if (std::isfinite(x[i]))
            count_sample(h, x[i]);
        else
            h.skipped += 1;
    }
}

std::vector<histogram_row> histogram_finish(const sample_histogram_state& h, double mean,
                                            double deviation)
{
    std::vector<histogram_row> rows;
    if (h.samples == 0) return rows;
    const std::int64_t n = h.bins;
    const std::int64_t occupied = h.high - h.low + 1;
    const std::int64_t group = (occupied + n - 1) / n; // fine bins per output bin
    const std::int64_t first =
        h.low - (n * group - occupied) / 2; // global index of bin 0's lower edge
    const double width = static_cast<double>(group) * h.width;
    const double pi = std::acos(-1.);
    const double total = static_cast<double>(h.samples);
    rows.reserve(h.bins);
    for (std::int64_t b = 0; b < n; ++b) {
        std::uint64_t count = 0;
        for (std::int64_t j = first + b * group; j < first + (b + 1) * group; ++j)
            if (j >= h.low && j <= h.high) count += h.fine[j - h.base];
        const double lower = static_cast<double>(first + b * group) * h.width;
        const double centre = lower + width / 2.;
        const double z = deviation > 0. ? (centre - mean) / deviation : 0.;
        const double gauss =
            deviation > 0. ? std::exp(-0.5 * z * z) / (deviation * std::sqrt(2. * pi)) : 0.;
        rows.push_back({centre, width, count, static_cast<double>(count) / (total * width), gauss});
    }
    return rows;
}
