// The reverse-arrangements test: bounded values, the count and its 5 % bounds.
#include "readings/stationarity.h"

#include <cmath>
#include <vector>

namespace {

constexpr double tail = 0.025;                        // each side of the 5 % two-sided test
constexpr double normal_quantile = 1.959963984540054; // standard normal 97.5 % point

// Merges adjacent pairs of the held values into their means: each then covers twice the segments.
void halve(stationarity_state& s)
{
    for (std::size_t i = 0; i < s.held / 2; ++i)
        s.values[i] = 0.5 * (s.values[2 * i] + s.values[2 * i + 1]);
    s.held /= 2;
    s.span *= 2;
}

// The probabilities of 0..n(n-1)/2 inversions of a random permutation of n, built by adding
// one element at a time: the new one adds 0..k-1 inversions, each equally likely.
std::vector<double> inversion_distribution(std::uint32_t n)
{
    // The three buffers are kept from one k to the next: a fresh one each time (up to 640 KB
    // for 400 values) cost a page fault per page and was most of a short run's time.
    std::vector<double> p{1.};
    std::vector<double> q;
    std::vector<double> sums{0.};
    for (std::uint32_t k = 2; k <= n; ++k) {
        sums.resize(p.size() + 1);
        for (std::size_t a = 0; a < p.size(); ++a) sums[a + 1] = sums[a] + p[a];
        q.resize(p.size() + k - 1);
        for (std::size_t a = 0; a < q.size(); ++a) {
            const std::size_t lo = a + 1 >= k ? a + 1 - k : 0;
            const std::size_t hi = a < p.size() ? a + 1 : p.size();
            q[a] = (sums[hi] - sums[lo]) / k;
        }
        p.swap(q);
    }
    return p;
}

} // namespace

void stationarity_take(stationarity_state& s, double mean_square)
{
    s.pending += mean_square;
    s.pending_count += 1;
    if (s.pending_count < s.span) return;
    s.values[s.held++] = s.pending / static_cast<double>(s.span);
    s.pending = 0.;
    s.pending_count = 0;
    if (s.held == held_values) halve(s);
}

std::uint64_t reverse_arrangements(const double* x, std::uint32_t n)
{
    // A tie counts half an arrangement, as if the two were ordered either way: a record whose
    // segments all hold the same power (a constant or dead channel) sits at the mean count
    // instead of below the lower bound.
    std::uint64_t halves = 0;
    for (std::uint32_t i = 0; i < n; ++i)
        for (std::uint32_t j = i + 1; j < n; ++j) halves += x[i] > x[j] ? 2 : x[i] == x[j] ? 1 : 0;
    return halves / 2;
}

arrangement_bounds exact_arrangement_bounds(std::uint32_t n)
{
    const std::vector<double> p = inversion_distribution(n);
    arrangement_bounds b{0, 0};
    double below = 0.; // P(count <= a)
    for (std::size_t a = 0; a < p.size(); ++a) {
        below += p[a];
        if (below <= tail) b.lower = a;
        if (below >= 1. - tail) {
            b.upper = a;
            break;
        }
    }
    return b;
}

arrangement_bounds normal_arrangement_bounds(std::uint32_t n)
{
    const double nn = n;
    const double mean = nn * (nn - 1.) / 4.;
    const double sd = std::sqrt(nn * (2. * nn + 5.) * (nn - 1.) / 72.);
    return {static_cast<std::uint64_t>(std::floor(mean - normal_quantile * sd)),
            static_cast<std::uint64_t>(std::floor(mean + normal_quantile * sd))};
}

stationarity_result stationarity_finish(const stationarity_state& s)
{
    stationarity_result r{0, 0, 0, s.held, s.span, s.held >= fewest_test_values, false};
    if (!r.tested) return r;
    r.arrangements = reverse_arrangements(s.values, s.held);
    const arrangement_bounds b = s.held <= exact_bounds_limit ? exact_arrangement_bounds(s.held)
                                                              : normal_arrangement_bounds(s.held);
    r.lower = b.lower;
    r.upper = b.upper;
    r.stationary = r.lower < r.arrangements && r.arrangements <= r.upper;
    return r;
}
