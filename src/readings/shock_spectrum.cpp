// The one-pass shock response spectrum: the oscillators' recursion, the peaks,
// the fold of primary and residual, and the record's shock figures.
#include "readings/shock_spectrum.h"
#include "readings/band_limited_upsampling.h"

#include <cmath>

namespace {

constexpr double samples_per_cycle = 32.; // the sampled peak of a sine reads at most 0.5 % low
constexpr double primary_share = 0.1;     // |sample| at 10 % of the peak counts as during the pulse
constexpr double metres_per_inch = 0.0254;
constexpr std::size_t carried = 2 * upsampling_reach + 1; // samples kept from block to block

// The factor, a power of two, that gives fn at least 32 samples a cycle.
int factor_for(double fn, double sr)
{
    int factor = 1;
    while (sr * factor < samples_per_cycle * fn) factor = factor * 2;
    return factor;
}

// The oscillators' filters and cleared state, and their groups by factor.
void place_oscillators(srs_bank& b, const std::vector<double>& fn)
{
    const std::size_t n = fn.size();
    for (std::vector<double>* v : {&b.a1, &b.a2, &b.b0, &b.b1, &b.b2, &b.d0, &b.d1, &b.d2, &b.w1,
                                   &b.w2, &b.high, &b.low, &b.since, &b.primary, &b.relative})
        v->assign(n, 0.);
    for (std::size_t i = 0; i < n; ++i) {
        const int factor = factor_for(fn[i], b.sr);
        const ramp_invariant_filter f = ramp_invariant(fn[i], b.q, 1. / (b.sr * factor));
        b.a1[i] = f.a1, b.a2[i] = f.a2;
        b.b0[i] = f.accel[0], b.b1[i] = f.accel[1], b.b2[i] = f.accel[2];
        b.d0[i] = f.relative[0], b.d1[i] = f.relative[1], b.d2[i] = f.relative[2];
        if (b.groups.empty() || b.groups.back().factor != factor)
            b.groups.push_back({factor, i, i, factor > 1 ? upsampling_taps(factor) : std::vector<double>{}, {}});
        b.groups.back().last = i + 1;
    }
}

// W oscillators from i kept in local arrays while a block runs through them:
// the loop over the W lanes runs in vector registers, the lanes' recursions
// side by side hide each other's latency.
template <int W>
struct lanes {
    double a1[W], a2[W], b0[W], b1[W], b2[W], d0[W], d1[W], d2[W]; // the filters
    double w1[W], w2[W], high[W], low[W], since[W], primary[W], relative[W]; // the state
};

// Copies oscillators i .. i + W - 1 of the bank into l, or back when out is true.
template <int W>
void exchange(srs_bank& b, std::size_t i, lanes<W>& l, bool out)
{
    std::vector<double>* bank[] = {&b.a1, &b.a2, &b.b0, &b.b1, &b.b2, &b.d0, &b.d1, &b.d2,
                                   &b.w1, &b.w2, &b.high, &b.low, &b.since, &b.primary, &b.relative};
    double* local[] = {l.a1, l.a2, l.b0, l.b1, l.b2, l.d0, l.d1, l.d2,
                       l.w1, l.w2, l.high, l.low, l.since, l.primary, l.relative};
    for (std::size_t f = 0; f < sizeof local / sizeof local[0]; ++f)
        for (int k = 0; k < W; ++k) {
            double& there = (*bank[f])[i + static_cast<std::size_t>(k)];
            if (out) there = local[f][k];
            else local[f][k] = there;
        }
}

// One value of base acceleration through the W lanes.
template <int W>
inline void step(lanes<W>& l, double x)
{
    for (int i = 0; i < W; ++i) {
        const double w = x + l.a1[i] * l.w1[i] + l.a2[i] * l.w2[i];
        const double y = l.b0[i] * w + l.b1[i] * l.w1[i] + l.b2[i] * l.w2[i];
        const double z = std::fabs(l.d0[i] * w + l.d1[i] * l.w1[i] + l.d2[i] * l.w2[i]);
        l.w2[i] = l.w1[i];
        l.w1[i] = w;
        l.high[i] = y > l.high[i] ? y : l.high[i];
        l.low[i] = y < l.low[i] ? y : l.low[i];
        const double m = std::fabs(y);
        l.since[i] = m > l.since[i] ? m : l.since[i];
        l.relative[i] = z > l.relative[i] ? z : l.relative[i];
    }
}

// At a sample of at least 10 % of the peak: what came before it is primary.
template <int W>
inline void fold(lanes<W>& l)
{
    for (int i = 0; i < W; ++i) {
        l.primary[i] = l.since[i] > l.primary[i] ? l.since[i] : l.primary[i];
        l.since[i] = 0.;
    }
}

// Oscillators i .. i + W - 1 over the block's values, factor a time.
template <int W>
void run_lanes(srs_bank& b, std::size_t i, const double* values, std::size_t factor)
{
    lanes<W> l;
    exchange(b, i, l, false);
    const unsigned char* marks = b.marks.data() + upsampling_reach + 1;
    for (std::size_t t = 0; t < b.times; ++t) {
        for (std::size_t p = 0; p < factor; ++p) step(l, values[t * factor + p]);
        if (marks[t] != 0) fold(l);
    }
    exchange(b, i, l, true);
}

// Shifts the carried samples to the front of wide and appends n more: the
// record's values (counted into its figures), or zeros past its end.
void append(srs_bank& b, const float* x, std::size_t n)
{
    b.wide.erase(b.wide.begin(), b.wide.end() - static_cast<long>(carried));
    b.marks.erase(b.marks.begin(), b.marks.end() - static_cast<long>(carried));
    for (std::size_t k = 0; k < n; ++k) {
        const double v = x != nullptr ? static_cast<double>(x[k]) : 0.;
        const double size = std::fabs(v);
        if (x != nullptr) {
            if (b.samples == 0) b.first_sample = v;
            b.last_sample = v, b.sum = b.sum + v, b.peak = size > b.peak ? size : b.peak;
            ++b.samples;
        }
        b.wide.push_back(v);
        b.marks.push_back(x != nullptr && size > 0. && size >= primary_share * b.peak);
    }
    b.times = n;
}

// The upsampled values of the block's times for each group above factor 1:
// time i is preceded by the points p/L after the sample before it.
void upsample(srs_bank& b)
{
    for (srs_group& g : b.groups) {
        if (g.factor == 1) continue;
        const std::size_t factor = static_cast<std::size_t>(g.factor);
        g.stream.resize(b.times * factor);
        for (std::size_t i = 0; i < b.times; ++i) {
            const double* at = b.wide.data() + upsampling_reach + 1 + i;
            for (std::size_t p = 1; p < factor; ++p)
                g.stream[i * factor + p - 1] = interpolated(g.taps, static_cast<int>(p), at - 1);
            g.stream[i * factor + factor - 1] = *at;
        }
    }
}

// Oscillators first .. last - 1 of group g over the block's times, eight at a time.
void run_group(srs_bank& b, const srs_group& g, std::size_t first, std::size_t last)
{
    const std::size_t factor = static_cast<std::size_t>(g.factor);
    const double* values =
        factor == 1 ? b.wide.data() + upsampling_reach + 1 : g.stream.data();
    std::size_t i = first;
    for (; i + 8 <= last; i += 8) run_lanes<8>(b, i, values, factor);
    for (; i < last; ++i) run_lanes<1>(b, i, values, factor);
}

} // namespace

srs_bank start_srs(const std::vector<double>& fn, double q, double sr, double to_si)
{
    srs_bank b{};
    b.fn = fn, b.q = q, b.sr = sr, b.to_si = to_si;
    place_oscillators(b, fn);
    b.wide.assign(carried, 0.);
    b.marks.assign(carried, 0);
    return b;
}

void take_srs_block(srs_bank& bank, const float* x, std::size_t n)
{
    append(bank, x, n);
    upsample(bank);
}

void run_srs_oscillators(srs_bank& bank, std::size_t first, std::size_t last)
{
    for (const srs_group& g : bank.groups) {
        const std::size_t from = g.first > first ? g.first : first;
        const std::size_t to = g.last < last ? g.last : last;
        if (from < to) run_group(bank, g, from, to);
    }
}

std::size_t srs_split(const srs_bank& bank)
{
    double total = 0., part = 0.;
    for (const srs_group& g : bank.groups) total = total + g.factor * double(g.last - g.first);
    for (const srs_group& g : bank.groups)
        for (std::size_t i = g.first; i < g.last; ++i) {
            if (2. * part >= total) return i;
            part = part + g.factor;
        }
    return bank.fn.size();
}

void feed_srs(srs_bank& bank, const float* x, std::size_t n)
{
    take_srs_block(bank, x, n);
    run_srs_oscillators(bank, 0, bank.fn.size());
}

srs_result finish_srs(srs_bank& bank)
{
    // The last reach samples' times still wait for the samples after them: zeros.
    append(bank, nullptr, upsampling_reach);
    upsample(bank);
    run_srs_oscillators(bank, 0, bank.fn.size());
    srs_result r{{}, bank.q, bank.groups.empty() ? 1 : bank.groups.back().factor, bank.peak,
                 0., 0., bank.samples};
    for (std::size_t i = 0; i < bank.fn.size(); ++i) {
        const double positive = bank.high[i], negative = -bank.low[i];
        const double wn = 2. * 3.14159265358979323846 * bank.fn[i];
        r.rows.push_back({bank.fn[i], positive > negative ? positive : negative, positive, negative,
                          bank.primary[i], bank.since[i], bank.relative[i] * bank.to_si / wn});
    }
    if (bank.samples > 1)
        r.velocity_change =
            (bank.sum - 0.5 * (bank.first_sample + bank.last_sample)) * bank.to_si / bank.sr;
    r.velocity_change_ips = r.velocity_change / metres_per_inch;
    return r;
}
