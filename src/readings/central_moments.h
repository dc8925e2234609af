// Mean and second to fourth central moments of a stream of samples, updated one
// sample at a time in the numerically stable one-pass form, with the extremes.
#pragma once

#include <cstddef>
#include <cstdint>

// The running moments of the samples added so far.
struct central_moments {
    std::uint64_t n = 0;      // samples added
    double mean = 0.;         // their mean
    double m2 = 0.;           // sum of (x - mean)^2
    double m3 = 0.;           // sum of (x - mean)^3
    double m4 = 0.;           // sum of (x - mean)^4
    float minimum = 0.f;      // smallest sample
    float maximum = 0.f;      // largest sample
    std::uint64_t min_at = 0; // index of the first sample at the minimum
    std::uint64_t max_at = 0; // index of the first sample at the maximum
};

// Adds sample x, whose index in the record is at, to the moments.
inline void moments_add(central_moments& c, float x, std::uint64_t at)
{
    const double n1 = static_cast<double>(c.n);
    c.n += 1;
    const double n = static_cast<double>(c.n);
    const double delta = x - c.mean;
    const double dn = delta / n;
    const double dn2 = dn * dn;
    const double term = delta * dn * n1;
    c.mean = c.mean + dn;
    c.m4 = c.m4 + term * dn2 * (n * n - 3. * n + 3.) + 6. * dn2 * c.m2 - 4. * dn * c.m3;
    c.m3 = c.m3 + term * dn * (n - 2.) - 3. * dn * c.m2;
    c.m2 = c.m2 + term;
    if (c.n == 1 || x < c.minimum) {
        c.minimum = x;
        c.min_at = at;
    }
    if (c.n == 1 || x > c.maximum) {
        c.maximum = x;
        c.max_at = at;
    }
}

// Adds the count samples' moments (not their extremes) to c: the block's own mean and
// central moments in two passes, merged with c's by the pairwise combination, which
// keeps the one-sample update's stability at a fraction of its cost.
void moments_add_block(central_moments& c, const float* x, std::size_t count);

// moments_add_block() of a block whose sum, added in order in double, is known.
void moments_add_summed(central_moments& c, const float* x, std::size_t count, double sum);

// Takes the count samples, the first of index first, into c's extremes and their
// indexes, as moments_add would; call it before moments_add_block.
void extremes_add(central_moments& c, const float* x, std::size_t count, std::uint64_t first);

// The figures of a set of samples that follow from its moments.
struct moment_figures {
    double deviation;      // standard deviation (population, mean removed), the rms of x - mean
    double peak;           // largest |x - mean|: max - mean or mean - min
    std::uint64_t peak_at; // index of the sample at that peak
    double crest_factor;   // peak over deviation
    double skewness;       // third central moment over deviation^3
    double kurtosis;       // fourth central moment over deviation^4 (3 for a Gaussian record)
};

// The deviation, peak, crest factor, skewness and kurtosis of the moments; zero
// deviation gives zero crest factor, skewness and kurtosis.
moment_figures figures_of(const central_moments& c);
