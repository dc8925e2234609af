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

// The cumulative distribution of the inversions of a random permutation of n:
// entry a + 1 is the probability of a or fewer (0 <= a <= n(n-1)/2), entry 0 is
// 0. Built by adding one element at a time: the new one adds 0..k-1
// inversions, each equally likely, so each probability of k elements is a
// difference of two cumulative ones of k-1 over k; its own cumulative sum is
// added in the same loop, which costs the chain of additions nothing beside
// the division. The two buffers are as large as the last one from the start,
// so no step moves them or touches a fresh page.
std::vector<double> cumulative_inversions(std::uint32_t n)
{
    const std::size_t largest = std::size_t{n} * (n - 1) / 2 + 2;
    std::vector<double> sums;
    sums.reserve(largest);
    sums = {0., 1.};
    std::vector<double> next;
    next.reserve(largest);
    for (std::uint32_t k = 2; k <= n; ++k) {
        const std::size_t count = sums.size() - 1; // probabilities of k - 1 elements
        const std::size_t size = count + k - 1;
        next.resize(size + 1);
        next[0] = 0.;
        for (std::size_t a = 0; a < size; ++a) {
            const std::size_t lo = a + 1 >= k ? a + 1 - k : 0;
            const std::size_t hi = a < count ? a + 1 : count;
            next[a + 1] = next[a] + (sums[hi] - sums[lo]) / k;
        }
        sums.swap(next);
    }
    return sums;
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
    const std::vector<double> below = cumulative_inversions(n); // below[a + 1]: P(count <= a)
    arrangement_bounds b{0, 0};
    for (std::size_t a = 0; a + 1 < below.size(); ++a) {
        if (below[a + 1] <= tail) b.lower = a;
        if (below[a + 1] >= 1. - tail) {
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
