// The scripted run's options for the readings of the spectrum: --tones N,
// --band LOW:HIGH, --octave B, --also LIST and --table. They fill opts.readings;
// a wrong value ends the process with status 2.
#pragma once

#include "readings/psd_view.h"

#include <string>

// What the reading options have given that opts.readings does not hold.
struct reading_given_state {
    std::string also_given; // --also as given
};

// The one record of the reading options given.
extern reading_given_state reading_given;

// --tones N: how many of the strongest tones to list, 0 for none.
void take_tones(const char* text);

// --band LOW:HIGH: one more band, in Hz, LOW from 0 and below HIGH.
void take_band(const char* text);

// --octave B: bands per octave of the octave files, 1, 3, 6, 12 or 24.
void take_octave(const char* text);

// --also LIST: the quantities to derive, comma-separated, checked once the quantity is known.
void take_also(const char* text);

// After all options: checks --also against the record's quantity.
void check_reading_options();

// After the run: one warning for each band beyond the finished PSD's view and
// for octave files without a band.
void warn_of_readings(const psd_view& view);

// Forgets the reading options given (the tests' reset).
void reset_reading_given();
