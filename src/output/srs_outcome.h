// What a set's shock response spectrum came to: the spectrum and the record's
// shock figures, the oscillators it was read from, its check against the SRS
// requirement when one was given, and the factors to the files' units.
#pragma once

#include "readings/decibel_tolerance.h"
#include "readings/oscillators.h"
#include "readings/shock_spectrum.h"
#include "readings/srs_check.h"

#include <cstddef>
#include <optional>

// One set's shock response spectrum.
struct srs_outcome {
    srs_result result;              // the spectrum, in the record's unit
    oscillator_options oscillators; // Q, the step and the range asked
    std::size_t peak_row;           // the row of the largest maximax
    double to_g;                    // factor from the record's unit to G
    double to_ms2;                  // factor from the record's unit to m/sec^2
    std::optional<srs_check> check; // against the shock profile, with --srs-profile
    decibel_tolerance band;         // the check's inner band, dB
};
