// The readings of one spectrum that a run reports: its tones and the rms of the
// bands asked for, in the quantity's first unit. Each channel of a run, and each
// quantity derived from it, has its own.
#pragma once

#include "readings/psd_view.h"
#include "readings/reading_request.h"
#include "readings/tones.h"

#include <vector>

// The rms of one band asked for.
struct band_reading {
    double low;       // Hz, as asked
    double high;      // Hz, as asked
    double rms;       // in the quantity's first unit, 0 for a band beyond the spectrum
    bool in_spectrum; // whether the band reaches any line of the spectrum
};

// What is read from one spectrum.
struct spectrum_readings {
    std::vector<tone> tones;
    std::vector<band_reading> bands;
};

// The tones and band rms the request asks of the view.
spectrum_readings read_spectrum(const psd_view& view, const reading_request& request);
