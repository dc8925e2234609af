// What a pass over the record learns of it, read by read: the pairs, the first
// and last time, the sums for the mean and rms, the steps of the time column
// that may be gaps, and where and why the reading stopped. The survey's
// counting pass and the scripted run's single pass feed it the same way.
#pragma once

#include "input/time_gaps.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

constexpr std::uint32_t pair_limit = 99999999; // the count stops one below this

struct record_span {
    double start;          // time of the first pair
    double end;            // time of the last pair counted
    std::uint32_t ns;      // pairs counted
    bool first_ok;         // the first read gave a pair
    bool counting;         // the reads go on: no read has yet ended the count
    int stop_result;       // result of the last read: EOF when the count reached the end
    long long stop_offset; // record offset where reading stopped
    bool suspect;          // a value read is not finite, or the amplitude may overflow a float
    std::uint32_t first_suspect; // the pair that first made it so
    time_gaps gaps;              // steps of the time column that may be gaps
    double sum;                  // sum of the amplitudes counted
    double sum_sq;               // sum of their squares
};

// Takes the result and values of the next read into the span; offset() gives
// the record offset after it, asked only when a step is kept. Returns whether
// the count goes on: false from the read that ends it (no pair, or the limit).
template <class Amplitude, class Offset>
bool take_read(record_span& r, int result, double t, Amplitude amplitude, Offset offset);

// True when a read converted a time that is not finite, or an amplitude that is
// not finite or may round to infinity as a float.
bool suspect_pair(int result, double time, double amplitude);

// suspect_pair() for a read whose amplitude is already a float: it is only
// unusable when not finite.
inline bool suspect_read(int result, double time, float amplitude)
{
    return (result >= 1 && !(std::fabs(time) <= DBL_MAX)) ||
           (result == 2 && !std::isfinite(amplitude));
}
inline bool suspect_read(int result, double time, double amplitude)
{
    return suspect_pair(result, time, amplitude);
}

template <class Amplitude, class Offset>
bool take_read(record_span& r, int result, double t, Amplitude amplitude, Offset offset)
{
    if (!r.counting) return false;
    const double a = static_cast<double>(amplitude);
    if (r.ns == 0 && !r.first_ok) { // the first read
        r.start = t;
        r.first_ok = result == 2;
        r.suspect = suspect_read(result, t, amplitude);
        r.first_suspect = 1;
        start_gaps(r.gaps, 1, t);
        r.ns = 1; // the first read counts, pair or not, as the count always has
        r.stop_result = result;
        if (result == 2) {
            r.sum += a;
            r.sum_sq += a * a;
        }
        r.counting = r.first_ok && r.ns + 1 < pair_limit;
        return r.counting;
    }
    r.stop_result = result;
    if (result != 2) {
        r.counting = false;
        return false;
    }
    const std::uint32_t pair = r.ns + 1;
    if (!r.suspect && suspect_read(result, t, amplitude)) {
        r.suspect = true;
        r.first_suspect = pair;
    }
    if (note_time(r.gaps, pair, t)) place_last_step(r.gaps, offset());
    r.sum += a;
    r.sum_sq += a * a;
    r.end = t;
    r.ns = pair;
    r.counting = r.ns + 1 < pair_limit;
    return r.counting;
}
