// The bank of single-degree-of-freedom oscillators that response spectra are
// read from: their quality factor and their natural frequencies at the base-10
// 1/B-octave centres (the octave bands' mid-band frequencies) from low to high.
#pragma once

#include <string>
#include <vector>

// The oscillators as asked for.
struct oscillator_options {
    double q;    // quality factor, above 0.5 (10 by convention)
    int fn_step; // B: natural frequencies at the 1/B-octave centres, B in 1, 3, 6, 12, 24
    double low;  // lowest natural frequency, Hz
    double high; // highest natural frequency, Hz
};

// The usual oscillators of a record sampled at sr: Q 10, 1/12 octave, 10 Hz to sr/4.
oscillator_options default_oscillators(double sr);

// What is wrong with the oscillators for a record sampled at sr, or "" when they are sound.
std::string oscillator_fault(const oscillator_options& o, double sr);

// The natural frequencies, Hz, lowest first: the 1/B-octave centres from low to high.
std::vector<double> natural_frequencies(const oscillator_options& o);
