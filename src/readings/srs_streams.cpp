// The shock spectrum's streams: the carried samples and marks, the record's
// figures, the equalised and the upsampled values of each block.
#include "readings/srs_streams.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double primary_share = 0.1; // |sample| at 10 % of the peak counts as during the pulse
constexpr std::size_t carried = 2 * srs_delay; // samples kept from block to block
constexpr std::size_t eq_width = 2 * equaliser_reach + 1;
constexpr std::size_t half_reach =
    equaliser_reach / 2 + 1; // times of upsampled values the equaliser reaches

// Whether any group runs on the stream of that factor with refined peaks.
bool uses(const srs_bank& b, int factor)
{
    return std::any_of(b.groups.begin(), b.groups.end(),
                       [factor](const srs_group& g) { return g.refined && g.factor == factor; });
}

// The record upsampled by 2 around the block's times, then equalised:
// spread[m] is value m - (reach + 1) of the doubled stream (the value 2i lies
// halfway before time i, 2i + 1 is time i), doubled[j] is value j - 1 equalised.
void make_doubled(srs_bank& b)
{
    const std::size_t n = b.times, reach = equaliser_reach;
    const std::size_t halves = n + 2 * half_reach - 2; // halfway values of times -8 .. n + 7
    b.halves.resize(halves);
    const double* from = b.wide.data() + srs_delay - upsampling_reach - (half_reach - 1);
    b.paths->filter(b.halfway.data(), std::size_t{2} * upsampling_reach, from, halves,
                    b.halves.data());
    b.spread.resize(2 * n + 2 * reach + 1);
    for (std::size_t m = 0; m < b.spread.size(); ++m) {
        const std::size_t time_plus = (m + 1) / 2; // time + half_reach
        b.spread[m] =
            m % 2 == 1 ? b.halves[time_plus - 1] : b.wide[srs_delay + time_plus - half_reach];
    }
    b.doubled.resize(2 * n + 1);
    b.paths->filter(b.equaliser.data(), eq_width, b.spread.data(), 2 * n + 1, b.doubled.data());
}

// The record equalised at the block's times -1 .. n - 1: level[j] is time j - 1.
void make_level(srs_bank& b)
{
    b.level.resize(b.times + 1);
    const double* from = b.wide.data() + srs_delay - 1 - equaliser_reach;
    b.paths->filter(b.equaliser.data(), eq_width, from, b.times + 1, b.level.data());
}

// The times up to the block's last one at 10 % of the peak or more.
std::size_t last_mark(const srs_bank& b)
{
    for (std::size_t t = b.times; t > 0; --t)
        if (b.marks[srs_delay + t - 1] != 0) return t;
    return 0;
}

} // namespace

void start_streams(srs_bank& b)
{
    b.wide.assign(carried, 0.);
    b.marks.assign(carried, 0);
    b.equaliser = equaliser_taps();
    b.halfway = upsampling_taps(2);
}

void append_samples(srs_bank& b, const float* x, std::size_t n)
{
    std::copy(b.wide.end() - carried, b.wide.end(), b.wide.begin());
    std::copy(b.marks.end() - carried, b.marks.end(), b.marks.begin());
    b.wide.resize(carried + n);
    b.marks.resize(carried + n);
    for (std::size_t k = 0; k < n; ++k) {
        const double v = x != nullptr ? static_cast<double>(x[k]) : 0.;
        const double size = std::fabs(v);
        b.peak = size > b.peak ? size : b.peak;
        b.sum = b.sum + v;
        b.wide[carried + k] = v;
        b.marks[carried + k] = x != nullptr && size > 0. && size >= primary_share * b.peak;
    }
    if (x != nullptr && n > 0) {
        if (b.samples == 0) b.first_sample = b.wide[carried];
        b.last_sample = b.wide[carried + n - 1];
        b.samples = b.samples + n;
    }
    b.times = n;
}

void make_streams(srs_bank& b)
{
    b.fold_at = last_mark(b);
    if (uses(b, 2)) make_doubled(b);
    if (uses(b, 1)) make_level(b);
}

const double* group_values(const srs_bank& b, const srs_group& g)
{
    if (!g.refined) return b.wide.data() + srs_delay;
    return g.factor == 2 ? b.doubled.data() + 1 : b.level.data() + 1;
}
