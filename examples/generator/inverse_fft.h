// An inverse discrete Fourier transform for building noise from its spectrum.
#pragma once

#include <complex>
#include <vector>

// Replaces x (length a power of two) by y[n] = sum over k of x[k] e^(+2 pi i k n / N),
// without the 1/N factor.
void inverse_fft(std::vector<std::complex<double>>& x);
