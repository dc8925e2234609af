// ASTM E1049 rainflow counting over blocks of samples, with Miner's sum.
#include "readings/rainflow_count.h"

#include <cmath>
#include <cstddef>

namespace {

// S^b, by repeated squaring when b is whole (the usual S-N exponents), else by pow.
double amplitude_power(const rainflow_state& s, double amplitude)
{
    if (s.whole_exponent == 0) return std::pow(amplitude, s.sn.exponent);
    double power = 1.;
    double base = amplitude;
    for (int e = s.whole_exponent; e > 0; e >>= 1) {
        if ((e & 1) != 0) power *= base;
        base *= base;
    }
    return power;
}

// Counts the range between turning points a and b with weight count.
void count_range(rainflow_state& s, double a, double b, double count)
{
    const double range = std::fabs(a - b);
    s.damage += count * amplitude_power(s, range / 2.) / s.sn.constant;
    ++s.cycles;
    if (s.keep_cycles) s.counted.push_back({range, (a + b) / 2., count});
}

// Discards the start S and moves it to the next point; the spent front of the
// residue is dropped once it is the larger part, so each point moves at most once more.
void drop_start(rainflow_state& s)
{
    ++s.first;
    if (s.first >= 64 && 2 * s.first >= s.residue.size()) {
        s.residue.erase(s.residue.begin(),
                        s.residue.begin() + static_cast<std::ptrdiff_t>(s.first));
        s.first = 0;
    }
}

// Steps 2 to 5 after a turning point was added: while the newest range X is at
// least the one before it, Y, count Y, a half cycle when it holds the start S.
void reduce(rainflow_state& s)
{
    std::vector<double>& r = s.residue;
    while (r.size() - s.first >= 3) {
        const std::size_t n = r.size();
        const double x = std::fabs(r[n - 1] - r[n - 2]);
        const double y = std::fabs(r[n - 2] - r[n - 3]);
        if (x < y) return;
        if (n - s.first == 3) {
            count_range(s, r[n - 3], r[n - 2], 0.5);
            drop_start(s);
        } else {
            count_range(s, r[n - 3], r[n - 2], 1.);
            r[n - 3] = r[n - 1];
            r.resize(n - 2);
        }
    }
}

// Adds a turning point (step 1); a full residue first counts its oldest range
// as a half cycle and moves the start to its second point.
void add_turning_point(rainflow_state& s, double value)
{
    if (s.residue.size() - s.first >= s.cap) {
        count_range(s, s.residue[s.first], s.residue[s.first + 1], 0.5);
        drop_start(s);
        ++s.early_halves;
    }
    s.residue.push_back(value);
    reduce(s);
}

} // namespace

rainflow_state start_rainflow(const sn_curve& sn, bool keep_cycles, std::size_t cap)
{
    rainflow_state s;
    s.keep_cycles = keep_cycles;
    s.sn = sn;
    const bool whole =
        sn.exponent >= 1. && sn.exponent <= 64. && sn.exponent == std::floor(sn.exponent);
    s.whole_exponent = whole ? static_cast<int>(sn.exponent) : 0;
    s.cap = cap < 3 ? 3 : cap;
    return s;
}

void feed_rainflow(rainflow_state& s, const float* samples, std::size_t count)
{
    double last = s.last;
    int direction = s.direction;
    for (std::size_t i = 0; i < count; ++i) {
        const double x = samples[i];
        if (x == last && s.started) continue;
        if (!std::isfinite(x)) {
            ++s.non_finite;
            continue;
        }
        if (!s.started) {
            s.started = true;
            add_turning_point(s, x); // the record's first sample is the start S
        } else {
            const int step = x > last ? 1 : -1;
            if (step != direction && direction != 0) add_turning_point(s, last);
            direction = step;
        }
        last = x;
    }
    s.last = last;
    s.direction = direction;
}

void finish_rainflow(rainflow_state& s)
{
    if (s.started && s.direction != 0) add_turning_point(s, s.last);
    for (std::size_t i = s.first + 1; i < s.residue.size(); ++i)
        count_range(s, s.residue[i - 1], s.residue[i], 0.5);
    s.residue.clear();
    s.first = 0;
    s.started = false;
    s.direction = 0;
}
