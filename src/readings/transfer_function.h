// The transfer function H1 and the coherence of a response channel against a
// reference channel, bin by bin, from the power and cross-power summed over the
// same segments. The three sums share their scale (segments, window, 1/m), so
// any common normalisation cancels and the raw sums serve as they are.
#pragma once

#include <cstdint>
#include <vector>

// The summed spectra of a reference x and a response y.
struct cross_view {
    const double* gxx;  // |X|^2 summed per bin
    const double* gyy;  // |Y|^2 summed per bin
    const double* gxy;  // conj(X)·Y summed per bin: real part at 2k, imaginary part at 2k+1
    std::uint32_t bins; // bins 0..bins-1, bin k at k*df
    double df;          // line spacing, Hz
};

// |H1| = |Gxy| / Gxx of bin k; 0 where the reference has no power.
double h1_magnitude(const cross_view& v, std::uint32_t k);

// The phase of H1 in degrees, in (-180, 180]; 0 where the reference has no power.
double h1_phase(const cross_view& v, std::uint32_t k);

// The coherence |Gxy|^2 / (Gxx·Gyy) of bin k; 0 where either channel has no power.
double coherence(const cross_view& v, std::uint32_t k);

// H1 and the coherence of every bin, as the files H1.frf and H1.coh list them.
struct transfer_curves {
    std::vector<double> magnitude; // |H1| of bin k
    std::vector<double> phase;     // phase of H1 of bin k, degrees
    std::vector<double> coherence; // coherence of bin k
    double df;                     // line spacing, Hz
};

// The curves of bins 0..v.bins-1.
transfer_curves transfer_curves_of(const cross_view& v);
