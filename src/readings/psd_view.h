// What engineers read from a finished spectrum: tones, band rms, octave bands,
// derived quantities and confidence. Every reading takes this read-only view
// of the one-sided PSD, returns a plain struct, prints nothing and never
// touches the program-wide record, so it can be computed and tested alone.
#pragma once

#include <cstdint>

// A finished one-sided PSD and what is needed to read it.
struct psd_view {
    const double* psd;  // the PSD in SI units squared per Hz, bins 0..m/2-1 (bin k at k*df)
    std::uint32_t m;    // samples per segment; the view has m/2 bins
    double df;          // line spacing, Hz
    std::uint32_t nave; // segments averaged
    int quantity;       // input_type 1..6 of the values
    int window;         // window_choice: 1 rectangular, 2 Hanning
    double english;     // factor from the SI unit to the quantity's first unit (1 for volts)

    // Number of bins, m/2.
    std::uint32_t bins() const { return m / 2; }
};
