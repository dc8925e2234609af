// The samples of a generated record: its sines plus band-limited noise made from a spectrum.
#include "synthesis.h"
#include "inverse_fft.h"

#include "readings/profile_curve.h"

#include <cmath>
#include <complex>
#include <random>

namespace {

const double two_pi = 2. * std::acos(-1.);

// The smallest power of two that holds n samples.
std::size_t noise_length(long n)
{
    std::size_t p = 1;
    while (p < static_cast<std::size_t>(n)) p <<= 1;
    return p;
}

// Line numbers k of a band: low <= k*spacing < high, never the 0 Hz line.
void band_lines(const noise_part& w, double spacing, std::size_t* first, std::size_t* end)
{
    *first = static_cast<std::size_t>(std::ceil(w.low / spacing));
    if (*first == 0) *first = 1;
    *end = static_cast<std::size_t>(std::ceil(w.high / spacing));
    if (*end < *first) *end = *first;
}

// Line numbers k of the profile's noise: its breakpoints' range widened by half
// an octave on either side (on its end segments' slopes), so that the lines at
// the profile's ends have noise on both sides in any window; never the Nyquist line.
void profile_lines(const recipe& r, double spacing, std::size_t lines, std::size_t* first,
                   std::size_t* end)
{
    const noise_part span{0., r.profile.front().frequency / std::sqrt(2.),
                          r.profile.back().frequency * std::sqrt(2.)};
    band_lines(span, spacing, first, end);
    if (*end > lines / 2) *end = lines / 2;
    if (*first > *end) *first = *end;
}

// The power of line k of the profile's noise: the profile's PSD there times the spacing.
double profile_line_power(const recipe& r, std::size_t k, double spacing)
{
    return profile_value(r.profile, static_cast<double>(k) * spacing) * spacing;
}

// Adds every noise band to the spectrum as lines of equal amplitude and random
// phase, then the profile's noise, each line of the profile's PSD there.
void add_noise_lines(const recipe& r, std::vector<std::complex<double>>& spectrum)
{
    const double spacing = r.rate / static_cast<double>(spectrum.size());
    std::mt19937_64 random(r.seed);
    for (const noise_part& w : r.noises) {
        std::size_t first = 0, end = 0;
        band_lines(w, spacing, &first, &end);
        const double amplitude = std::sqrt(2. * w.level * spacing);
        for (std::size_t k = first; k < end && k < spectrum.size() / 2; ++k) {
            // 53 random bits give a phase in [0, 2 pi) that every library draws alike.
            const double phase = two_pi * static_cast<double>(random() >> 11) * 0x1p-53;
            spectrum[k] += std::polar(amplitude, phase);
        }
    }
    if (r.profile.empty()) return;
    std::size_t first = 0, end = 0;
    profile_lines(r, spacing, spectrum.size(), &first, &end);
    for (std::size_t k = first; k < end; ++k) {
        const double phase = two_pi * static_cast<double>(random() >> 11) * 0x1p-53;
        spectrum[k] += std::polar(std::sqrt(2. * profile_line_power(r, k, spacing)), phase);
    }
}

// The noise part of every sample, one period of noise_length samples.
std::vector<double> noise_samples(const recipe& r)
{
    std::vector<std::complex<double>> spectrum(noise_length(r.count));
    add_noise_lines(r, spectrum);
    inverse_fft(spectrum);
    std::vector<double> x(static_cast<std::size_t>(r.count));
    for (std::size_t j = 0; j < x.size(); ++j) x[j] = spectrum[j].real();
    return x;
}

} // namespace

std::vector<double> synthesize(const recipe& r)
{
    std::vector<double> x =
        r.noises.empty() && r.profile.empty() ? std::vector<double>(r.count, 0.) : noise_samples(r);
    for (std::size_t j = 0; j < x.size(); ++j) {
        const double t = static_cast<double>(j) / r.rate;
        for (const sine_part& s : r.sines)
            x[j] += s.amplitude * std::sin(two_pi * s.frequency * t + s.phase * two_pi / 360.);
        x[j] += r.offset;
    }
    return x;
}

double noise_variance(const recipe& r)
{
    const double spacing = r.rate / static_cast<double>(noise_length(r.count));
    const std::size_t last = noise_length(r.count) / 2;
    double sum = 0.;
    for (const noise_part& w : r.noises) {
        std::size_t first = 0, end = 0;
        band_lines(w, spacing, &first, &end);
        if (end > last) end = last;
        if (end > first) sum += w.level * spacing * static_cast<double>(end - first);
    }
    if (r.profile.empty()) return sum;
    std::size_t first = 0, end = 0;
    profile_lines(r, spacing, noise_length(r.count), &first, &end);
    for (std::size_t k = first; k < end; ++k) sum += profile_line_power(r, k, spacing);
    return sum;
}
