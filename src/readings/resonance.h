// The resonance of a response against its reference: the largest |H1| among
// the bins the coherence vouches for, and its Q from the half-power bandwidth.
#pragma once

#include "readings/transfer_function.h"

constexpr double coherent_level = 0.8; // bins of at least this coherence are trusted

// The resonance found in a cross_view.
struct resonance {
    double frequency;      // Hz, of the bin of the largest |H1|
    double magnitude;      // |H1| there
    double coherence;      // the coherence there
    bool has_q;            // |H1| falls to half power on both sides of the peak
    double q;              // frequency over the half-power bandwidth, when has_q
    bool coherent;         // some searched bin reaches coherent_level
    double mean_coherence; // the coherence averaged over the searched bins
    bool powered;          // the reference has power in some bin; when not, H1 and the
                           // resonance are not available and the fields above are 0
};

// The bin of the largest |H1| over bins 1..bins-1 of coherence at least
// coherent_level (over all of them when none is; bin 0, the mean, only when it
// is the one bin). The half-power points are where |H1| first falls to the peak
// over sqrt(2) on either side, interpolated linearly between bins.
resonance find_resonance(const cross_view& v);
