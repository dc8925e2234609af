// Rainflow counting of a record's turning points as ASTM E1049 gives it (the
// rainflow method with the starting point, half cycles kept as halves), in one
// pass over blocks of samples, and Miner's damage summed as cycles are counted.
//
// Only the residue of open half cycles is kept. After each counting step its
// ranges shrink strictly from the oldest to the newest, so noise leaves a short
// residue, but a slowly decaying ring-down would keep every turning point; the
// residue is therefore capped at rainflow_state::cap points. When a new turning
// point meets a full residue, its oldest range is counted as a half cycle at once
// (step 5 taken early) and the start moves on; early_halves counts these, and
// the count is ASTM's exactly while it stays 0.
#pragma once

#include "readings/spectral_fatigue.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t rainflow_residue_cap = std::size_t{1} << 20; // 8 MB of turning points

// One counted cycle, in the record's unit.
struct rainflow_cycle {
    double range; // the distance between its two turning points
    double mean;  // their mid value
    double count; // 0.5 for a half cycle, 1 for a full one
};

// The counting in progress: turning-point detection, the residue, the counted
// cycles not yet taken by the caller, and Miner's sum.
struct rainflow_state {
    std::vector<double> residue;         // turning points not yet discarded, from index first on
    std::size_t first = 0;               // index of the start S in residue (older ones are spent)
    std::vector<rainflow_cycle> counted; // cycles counted since the caller cleared it, in order
    bool keep_cycles = true;             // whether counted cycles are queued (else only summed)
    sn_curve sn{1., 1.};                 // the S-N curve of Miner's sum
    int whole_exponent = 0;              // sn.exponent when a whole 1..64 (faster powers), else 0
    double damage = 0.;                  // Miner's sum of count S^b / c, S = range/2
    double last = 0.;                    // the newest sample, a turning point in the making
    int direction = 0;                   // +1 rising, -1 falling, 0 before two distinct samples
    bool started = false;                // a sample has been seen
    std::size_t cap = rainflow_residue_cap; // the most turning points the residue keeps
    std::uint64_t cycles = 0;               // cycles counted (halves and full ones)
    std::uint64_t early_halves = 0; // half cycles counted early because the residue was full
    std::uint64_t non_finite = 0;   // samples left out as NaN or infinite
};

// A counting at its start, with the S-N curve for Miner's sum (the caller
// checks it with fatigue_usage_error) and whether cycles are queued.
rainflow_state start_rainflow(const sn_curve& sn, bool keep_cycles,
                              std::size_t cap = rainflow_residue_cap);

// Feeds count samples; equal consecutive samples are one, and a NaN or
// infinite sample is left out (counted in non_finite) rather than poison the sums. Counted cycles
// are appended to state.counted, which the caller drains and clears between blocks.
void feed_rainflow(rainflow_state& state, const float* samples, std::size_t count);

// Ends the record: its last sample is a turning point, then each range left
// in the residue is counted as a half cycle (step 6).
void finish_rainflow(rainflow_state& state);
