// The one-pass shock response spectrum: the oscillators' filters, their runs
// over each block with the fold of primary and residual, the refinement of the
// peaks between values, and the record's shock figures.
#include "readings/shock_spectrum.h"
#include "readings/ramp_invariant.h"
#include "readings/srs_streams.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double samples_per_cycle = 32.; // the sampled peak of a sine reads at most 0.5 % low
constexpr double loss_margin = 0.98; // below the sine's worst loss, for the rest of the response
constexpr double metres_per_inch = 0.0254;
constexpr double pi = 3.14159265358979323846;
constexpr std::size_t chunk = 16; // oscillators of a refined group run and checked together

// The stream an oscillator at fn runs on.
srs_group group_for(double fn, double sr)
{
    if (sr >= samples_per_cycle * fn) return {1, false, 0, 0};
    return {4. * fn > sr ? 2 : 1, true, 0, 0};
}

// Oscillator i's scaled filter at the step of its stream, and its cleared state.
void place_oscillator(srs_bank& b, std::size_t i, const srs_group& g)
{
    const double dt = 1. / (b.sr * g.factor), wn = 2. * pi * b.fn[i], zeta = 0.5 / b.q;
    const ramp_invariant_filter f = ramp_invariant(b.fn[i], b.q, dt);
    b.a1[i] = f.a1, b.a2[i] = f.a2;
    b.b0[i] = f.accel[0], b.c1[i] = f.accel[1] / f.accel[0], b.c2[i] = f.accel[2] / f.accel[0];
    b.d0[i] = f.relative[0];
    b.e1[i] = f.relative[1] / f.relative[0], b.e2[i] = f.relative[2] / f.relative[0];
    const double sigma = zeta * wn, wd = wn * std::sqrt(1. - zeta * zeta);
    b.steps[i] = {sigma, wd, dt, 2. * zeta / wn};
    const double per_cycle = 2. * pi / (wn * dt);
    b.loss[i] = g.refined ? loss_margin * std::cos(pi / per_cycle) * std::exp(-sigma * dt) : 0.;
}

// The oscillators' filters and cleared state, and their groups by stream.
void place_oscillators(srs_bank& b)
{
    const std::size_t n = b.fn.size();
    for (std::vector<double>* v :
         {&b.a1, &b.a2, &b.c1, &b.c2, &b.e1, &b.e2, &b.w1, &b.w2, &b.y, &b.z, &b.high, &b.low,
          &b.primary_high, &b.primary_low, &b.relative, &b.b0, &b.d0, &b.loss})
        v->assign(n, 0.);
    b.steps.assign(n, {});
    for (std::size_t i = 0; i < n; ++i) {
        const srs_group g = group_for(b.fn[i], b.sr);
        place_oscillator(b, i, g);
        if (b.groups.empty() || b.groups.back().factor != g.factor ||
            b.groups.back().refined != g.refined)
            b.groups.push_back({g.factor, g.refined, i, i});
        b.groups.back().last = i + 1;
    }
}

// The loop's view of the bank's arrays.
srs_lanes lanes(srs_bank& b)
{
    return {b.a1.data(),       b.a2.data(), b.c1.data(), b.c2.data(),   b.e1.data(),
            b.e2.data(),       b.w1.data(), b.w2.data(), b.high.data(), b.low.data(),
            b.relative.data(), b.y.data(),  b.z.data()};
}

// One oscillator's state and extremes before a run, to run it again from.
struct kept_state {
    srs_step step;              // the recursion and outputs
    double high, low, relative; // extremes so far
};

// The largest acceleration (s = 1) or the smallest (s = -1) between the values
// v[-1] and v[0], scaled as the bank keeps it, from the outputs y0 before and y1 after.
double acceleration_peak(const srs_bank& b, std::size_t o, const double* v, double y0, double y1,
                         double s)
{
    step_response r = b.steps[o];
    r.lag = 0.;
    return peak_between_samples(r, v[-1], v[0], b.b0[o] * y0, b.b0[o] * y1, s) / b.b0[o];
}

// The largest |displacement output| between v[-1] and v[0], scaled as the bank keeps it.
double displacement_peak(const srs_bank& b, std::size_t o, const double* v, double z0, double z1)
{
    const double d = b.d0[o];
    const double high = peak_between_samples(b.steps[o], v[-1], v[0], d * z0, d * z1, 1.);
    const double low = peak_between_samples(b.steps[o], v[-1], v[0], d * z0, d * z1, -1.);
    return std::max(high, -low) / d;
}

// Oscillator o through the values again from its kept state: the extremes of
// this run, with every peak between values within the loss of the extremes so far refined.
void refined_run(srs_bank& b, std::size_t o, const double* v, std::size_t count,
                 const kept_state& k)
{
    const srs_lanes l = lanes(b);
    srs_step s = k.step;
    double high = 0., low = 0., relative = 0.;
    double best_high = k.high, best_low = k.low, best_relative = k.relative;
    const double loss = b.loss[o];
    for (std::size_t t = 0; t < count; ++t) {
        const double y0 = s.y, z0 = s.z;
        step_oscillator(l, o, v[t], s);
        high = std::max(high, s.y), low = std::min(low, s.y);
        relative = std::max(relative, std::fabs(s.z));
        if (std::max(y0, s.y) > loss * best_high)
            high = std::max(high, acceleration_peak(b, o, v + t, y0, s.y, 1.));
        if (std::min(y0, s.y) < loss * best_low)
            low = std::min(low, acceleration_peak(b, o, v + t, y0, s.y, -1.));
        if (std::max(std::fabs(z0), std::fabs(s.z)) > loss * best_relative)
            relative = std::max(relative, displacement_peak(b, o, v + t, z0, s.z));
        best_high = std::max(best_high, high), best_low = std::min(best_low, low);
        best_relative = std::max(best_relative, relative);
    }
    b.w1[o] = s.w1, b.w2[o] = s.w2, b.y[o] = s.y, b.z[o] = s.z;
    b.high[o] = high, b.low[o] = low, b.relative[o] = relative;
}

// Whether oscillator o's run came within its loss of the extremes so far, so
// that its peaks need refining. The acceleration's are those since the last
// fold, so that the residual is refined as well as the primary.
bool near_the_largest(const srs_bank& b, std::size_t o, const kept_state& k)
{
    const double loss = b.loss[o];
    return b.high[o] > loss * k.high || b.low[o] < loss * k.low ||
           b.relative[o] > loss * k.relative;
}

// Oscillators first .. last - 1 of a refined group through the values: the
// loop over all, then again with the peaks refined for those that came near their largest.
void run_refined(srs_bank& b, std::size_t first, std::size_t last, const double* v,
                 std::size_t count)
{
    const srs_lanes l = lanes(b);
    for (std::size_t i = first; i < last; i += chunk) {
        const std::size_t end = std::min(last, i + chunk);
        kept_state kept[chunk];
        for (std::size_t o = i; o < end; ++o) {
            kept[o - i] = {{b.w1[o], b.w2[o], b.y[o], b.z[o]}, b.high[o], b.low[o], b.relative[o]};
            b.high[o] = 0., b.low[o] = 0., b.relative[o] = 0.;
        }
        b.paths->run(l, i, end, v, count);
        for (std::size_t o = i; o < end; ++o) {
            const kept_state& k = kept[o - i];
            if (near_the_largest(b, o, k)) refined_run(b, o, v, count, k);
            b.high[o] = std::max(b.high[o], k.high), b.low[o] = std::min(b.low[o], k.low);
            b.relative[o] = std::max(b.relative[o], k.relative);
        }
    }
}

// Oscillators first .. last - 1 of group g over times t0 .. t1 - 1 of the block.
void run_times(srs_bank& b, const srs_group& g, std::size_t first, std::size_t last, std::size_t t0,
               std::size_t t1)
{
    if (t0 >= t1) return;
    const std::size_t factor = static_cast<std::size_t>(g.factor);
    const double* v = group_values(b, g) + t0 * factor;
    const std::size_t count = (t1 - t0) * factor;
    if (g.refined)
        run_refined(b, first, last, v, count);
    else
        b.paths->run(lanes(b), first, last, v, count);
}

// At the block's last sample of at least 10 % of the peak: what came before it is primary.
void fold(srs_bank& b, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i < last; ++i) {
        b.primary_high[i] = std::max(b.primary_high[i], b.high[i]);
        b.primary_low[i] = std::min(b.primary_low[i], b.low[i]);
        b.high[i] = 0., b.low[i] = 0.;
    }
}

// Every oscillator over the block taken, on the helper thread too when there is one.
void run_all(srs_bank& b)
{
    const std::size_t n = b.fn.size();
    if (!b.assistant) {
        run_srs_oscillators(b, 0, n);
        return;
    }
    srs_bank* bank = &b;
    hand_to_helper(*b.assistant, [bank, n] { run_srs_oscillators(*bank, bank->split, n); });
    run_srs_oscillators(b, 0, b.split);
    wait_for_helper(*b.assistant);
}

// One row of results from oscillator i's extremes.
srs_row row_of(const srs_bank& b, std::size_t i)
{
    const double scale = b.b0[i];
    const double positive = std::max(b.primary_high[i], b.high[i]) * scale;
    const double negative = -std::min(b.primary_low[i], b.low[i]) * scale;
    const double primary = std::max(b.primary_high[i], -b.primary_low[i]) * scale;
    const double residual = std::max(b.high[i], -b.low[i]) * scale;
    const double wn = 2. * pi * b.fn[i];
    return {b.fn[i],  std::max(positive, negative),          positive, negative, primary,
            residual, b.relative[i] * b.d0[i] * b.to_si / wn};
}

} // namespace

srs_bank start_srs(const std::vector<double>& fn, double q, double sr, double to_si, int threads)
{
    srs_bank b{};
    b.fn = fn, b.q = q, b.sr = sr, b.to_si = to_si;
    b.paths = &fastest_srs_paths();
    place_oscillators(b);
    start_streams(b);
    b.split = srs_split(b);
    if (threads > 1 && b.split > 0 && b.split < fn.size()) b.assistant = start_helper();
    return b;
}

void take_srs_block(srs_bank& bank, const float* x, std::size_t n)
{
    append_samples(bank, x, n);
    make_streams(bank);
}

void run_srs_oscillators(srs_bank& bank, std::size_t first, std::size_t last)
{
    for (const srs_group& g : bank.groups) {
        const std::size_t from = std::max(g.first, first), to = std::min(g.last, last);
        if (from >= to) continue;
        run_times(bank, g, from, to, 0, bank.fold_at);
        if (bank.fold_at > 0) fold(bank, from, to);
        run_times(bank, g, from, to, bank.fold_at, bank.times);
    }
}

std::size_t srs_split(const srs_bank& bank)
{
    double total = 0., part = 0.;
    for (const srs_group& g : bank.groups) total = total + g.factor * double(g.last - g.first);
    for (const srs_group& g : bank.groups)
        for (std::size_t i = g.first; i < g.last; ++i) {
            // On a whole register set, so that both halves run the widest loop.
            if (2. * part >= total && i % chunk == 0) return i;
            part = part + g.factor;
        }
    return bank.fn.size();
}

void feed_srs(srs_bank& bank, const float* x, std::size_t n)
{
    take_srs_block(bank, x, n);
    run_all(bank);
}

srs_result finish_srs(srs_bank& bank)
{
    // The last samples' times still wait for the samples after them: zeros.
    append_samples(bank, nullptr, srs_delay);
    make_streams(bank);
    run_all(bank);
    srs_result r{{}, bank.q, 1, bank.peak, 0., 0., bank.samples};
    for (const srs_group& g : bank.groups) r.upsampling = std::max(r.upsampling, g.factor);
    for (std::size_t i = 0; i < bank.fn.size(); ++i) r.rows.push_back(row_of(bank, i));
    if (bank.samples > 1)
        r.velocity_change =
            (bank.sum - 0.5 * (bank.first_sample + bank.last_sample)) * bank.to_si / bank.sr;
    r.velocity_change_ips = r.velocity_change / metres_per_inch;
    return r;
}
