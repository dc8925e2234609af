// The oscillators every response result is read from: --q, --fn-step and
// --fn-range, kept as given and resolved against the record's rate once it is known.
#pragma once

#include "readings/oscillators.h"

// What --q, --fn-step and --fn-range have given; 0 where an option was left out.
struct oscillator_option_state {
    double q;    // --q: the quality factor, or 0 for the default
    int fn_step; // --fn-step: B of the 1/B-octave centres, or 0 for the default
    double low;  // --fn-range: the lowest natural frequency, Hz, or 0 for the default
    double high; // --fn-range: the highest natural frequency, Hz, or 0 for the default
};

// The one record of the oscillator options.
extern oscillator_option_state oscillator_option;

// --q Q: the oscillators' quality factor, a number above 0.5.
void take_q(const char* text);

// --fn-step B: natural frequencies at the 1/B-octave centres, B in 1, 3, 6, 12, 24.
void take_fn_step(const char* text);

// --fn-range LOW:HIGH: the natural frequencies from LOW to HIGH Hz.
void take_fn_range(const char* text);

// The oscillators for a record sampled at sr: the options given, the defaults
// for the rest, unchecked.
oscillator_options chosen_oscillators(double sr);

// The oscillators for a record sampled at sr: the options given, the defaults
// for the rest; a bank that does not fit the record (a natural frequency at or
// above sr/2) ends the run with status 2.
oscillator_options asked_oscillators(double sr);

// Forgets the oscillator options (the tests' reset).
void reset_oscillator_option();
