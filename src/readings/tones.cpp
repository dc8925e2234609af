// Finding the tones of a finished PSD and reading their rms from their lobes.
#include "readings/tones.h"
#include "core/analysis_state.h"
#include "readings/rectangular_tone.h"

#include <algorithm>
#include <cmath>

namespace {

// A candidate's peak bin and the power of its lobe (SI, without df).
struct candidate {
    std::uint32_t bin;
    double lobe_sum;
};

// Bins on each side of a tone's peak that its window spreads it over.
std::uint32_t lobe_reach(const psd_view& view)
{
    return view.window == hanning_window ? 2 : 1;
}

// Whether bin k is at least both its neighbours (bin 0 counts as one) and above 0.
bool local_maximum(const psd_view& view, std::uint32_t k)
{
    const double p = view.psd[k];
    return p > 0. && p >= view.psd[k - 1] && (k + 1 >= view.bins() || p >= view.psd[k + 1]);
}

// The median PSD of bins k-32..k+32, clipped to bins 1..m/2-1.
double local_median(const psd_view& view, std::uint32_t k)
{
    double around[2 * tone_median_reach + 1];
    const std::uint32_t from = k > tone_median_reach ? k - tone_median_reach : 1;
    const std::uint32_t to = std::min(k + tone_median_reach, view.bins() - 1);
    const std::uint32_t n = to - from + 1;
    std::copy(view.psd + from, view.psd + to + 1, around);
    std::nth_element(around, around + n / 2, around + n);
    return around[n / 2];
}

// First and last bin of the lobe around k, within bins 1..m/2-1.
void lobe_of(const psd_view& view, std::uint32_t k, std::uint32_t& first, std::uint32_t& last)
{
    const std::uint32_t reach = lobe_reach(view);
    first = k > reach ? k - reach : 1;
    last = std::min(k + reach, view.bins() - 1);
}

// Sum of the PSD over the lobe around k, in order.
double lobe_sum(const psd_view& view, std::uint32_t k)
{
    std::uint32_t first = 0, last = 0;
    lobe_of(view, k, first, last);
    double sum = 0.;
    for (std::uint32_t j = first; j <= last; ++j) sum = sum + view.psd[j];
    return sum;
}

// Every candidate of the view, strongest lobe first (the lower bin first on a tie),
// without those more than 100 dB below the strongest: rounding noise, not tones.
std::vector<candidate> candidates(const psd_view& view)
{
    std::vector<candidate> found;
    for (std::uint32_t k = 1; k < view.bins(); ++k)
        if (local_maximum(view, k) && view.psd[k] >= tone_prominence * local_median(view, k))
            found.push_back({k, lobe_sum(view, k)});
    std::stable_sort(found.begin(), found.end(), [](const candidate& a, const candidate& b) {
        return a.lobe_sum > b.lobe_sum;
    });
    if (found.empty()) return found;
    const double floor = found.front().lobe_sum * tone_power_floor;
    found.erase(std::find_if(found.begin(), found.end(),
                             [floor](const candidate& c) { return c.lobe_sum < floor; }),
                found.end());
    return found;
}

// The tone of a candidate: with the rectangular window read by the window's
// shape, else its lobe's power-weighted frequency, rms and peak.
tone tone_of(const psd_view& view, const candidate& c)
{
    if (view.window != hanning_window) {
        const rectangular_tone t = read_rectangular_tone(view, c.bin);
        const double rms = std::sqrt(t.mean_square) * view.english;
        return {t.frequency, rms, std::sqrt(2.) * rms};
    }
    std::uint32_t first = 0, last = 0;
    lobe_of(view, c.bin, first, last);
    double moment = 0.;
    for (std::uint32_t j = first; j <= last; ++j) moment = moment + (j * view.df) * view.psd[j];
    const double factor = view.english;
    const double rms = std::sqrt((c.lobe_sum * (factor * factor)) * view.df);
    return {moment / c.lobe_sum, rms, std::sqrt(2.) * rms};
}

} // namespace

std::vector<tone> find_tones(const psd_view& view, int count)
{
    std::vector<tone> tones;
    if (count <= 0 || view.bins() < 2) return tones;
    std::vector<std::uint32_t> taken; // peak bins of the tones so far
    const std::uint32_t reach = lobe_reach(view);
    for (const candidate& c : candidates(view)) {
        const bool inside = std::any_of(taken.begin(), taken.end(), [&](std::uint32_t t) {
            return (c.bin > t ? c.bin - t : t - c.bin) <= reach;
        });
        if (inside) continue;
        taken.push_back(c.bin);
        tones.push_back(tone_of(view, c));
        if (static_cast<int>(tones.size()) == count) break;
    }
    return tones;
}
