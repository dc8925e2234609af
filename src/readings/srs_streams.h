// The values the shock spectrum's oscillators run on, block by block: the
// record's samples as read, the same equalised (the line between them then
// acts as the band-limited record), and upsampled by 2 and equalised. The
// filters reach past each time, so every stream lags the record by srs_delay
// samples, the record's figures and marks taken as the samples arrive.
#pragma once

#include "readings/band_limited_upsampling.h"
#include "readings/shock_spectrum.h"

#include <cstddef>

constexpr std::size_t srs_delay = upsampling_reach + equaliser_reach; // samples the times lag

// The taps and the carried samples of a new bank (its groups placed).
void start_streams(srs_bank& b);

// Shifts the carried samples to the front and appends n more: the record's
// values (counted into its figures), or zeros past its end (x null).
void append_samples(srs_bank& b, const float* x, std::size_t n);

// The block's streams for the groups that run on them, and where the block's last mark is.
void make_streams(srs_bank& b);

// Group g's first value of the block's time 0 (factor values a time; the value before it is there
// too).
const double* group_values(const srs_bank& b, const srs_group& g);
