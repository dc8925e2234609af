// What a run asks to read from its spectrum besides the PSD files: how many
// tones, which bands, which fractional-octave bands, which quantities to derive
// and whether to write the full-precision table. Filled from the command line,
// read by the readings and by the writers of their files.
#pragma once

#include <vector>

// One band of --band LOW:HIGH, in Hz.
struct band_request {
    double low;
    double high;
};

// Everything the run reads from its spectrum.
struct reading_request {
    int tones = 5;                   // the strongest tones to list, 0 for none
    std::vector<band_request> bands; // bands whose rms is asked, in the order given
    int octave = 0;                  // bands per octave of the octave files, 0 for none
    std::vector<int> also;           // quantities (input_type) derived from the record's
    bool table = false;              // write the full-precision table
};
