// Steps of the time column that break a constant time step: steps back, and
// gaps, steps larger than 1.5 times the record's typical step and than twice
// its smallest positive step (so time stamps coarser than the step are not
// gaps). The typical step is the mean of the steps that are neither, so an
// anomaly does not distort the step it is judged against. The survey's
// counting pass feeds every time it reads through note_time(); the typical
// step is known only after the count, so the pass keeps the steps that may
// turn out to be gaps, above a cut taken from the record's first pairs, and
// judge_gaps() sorts them once the count is done. Memory stays bounded: when
// the kept steps fill their store the cut is raised to what cannot be a gap;
// when more were kept than fit even so, or the cut turned out too coarse, the
// judgement says it is not exact and the caller tallies the record again.
#pragma once

#include <cstdint>
#include <limits>

constexpr int gap_candidates = 512;       // steps kept at most
constexpr std::uint32_t gap_warmup = 64;  // pairs before the cut is taken
constexpr double gap_factor = 1.5;        // a gap is above this many typical steps
constexpr double coarse_factor = 2.;      // and above this many smallest positive steps
constexpr double candidate_factor = 1.25; // steps above this many mean steps are kept

// One step of the time column: from the time of the pair before to that of pair `pair`.
struct time_step {
    std::uint32_t pair; // 1-based pair number of the later time
    long long offset;   // record offset just after that pair, to name its line
    double before;      // time of the pair before, s
    double after;       // time of the pair, s
};

// What the counting pass keeps of the time column.
struct time_gaps {
    double prev;                         // time of the last pair fed
    double first;                        // time of the first pair fed
    std::uint32_t first_pair;            // its pair number
    double cut;                          // steps above it, or negative, are kept; 0 while warming
    double smallest;                     // smallest positive step so far, infinity while none
    bool warming;                        // the cut is not yet taken
    bool overflow;                       // a step that should have been kept was not
    int kept;                            // steps kept
    time_step candidate[gap_candidates]; // the steps kept, in record order
};

// The anomalies for one typical step: gaps and steps back.
struct gap_tally {
    long count;      // anomalies
    time_step first; // the first of them
    double largest;  // the step of largest magnitude among them, s
    double sum;      // the sum of their steps, s: what the typical step leaves out
};

// What the judgement finds: the typical step and its anomalies.
struct gap_judgement {
    double typical;  // mean of the steps that are neither gaps nor steps back, s
    gap_tally tally; // the anomalies for it
};

// Starts the tracker at the first pair of a record.
void start_gaps(time_gaps& g, std::uint32_t pair, double t);

// Keeps a step that may be a gap, and notes a new smallest positive step;
// returns whether it was kept (see note_time).
bool keep_step(time_gaps& g, std::uint32_t pair, double before, double after);

// Feeds the time of the next pair; returns true when its step was kept, and
// the caller then gives the record offset with place_last_step().
inline bool note_time(time_gaps& g, std::uint32_t pair, double t)
{
    const double before = g.prev;
    g.prev = t;
    const double step = t - before;
    // The usual step: not above the cut, and zero or not below the smallest so far.
    if (step <= g.cut && (step >= g.smallest || step == 0.)) return false;
    return keep_step(g, pair, before, t);
}

// Sets the record offset of the step kept last.
void place_last_step(time_gaps& g, long long offset);

// Appends the steps of the part of the record that follows, counted apart from
// its first pair on (numbered from 1, with record offsets): the step across
// the seam, whose later pair ends at seam_offset, and next's kept steps, their
// pairs renumbered after the pairs_before of g's part.
void join_gaps(time_gaps& g, const time_gaps& next, std::uint32_t pairs_before,
               long long seam_offset);

// Adds one step to the tally when it is a gap or a step back for the typical
// step and the record's smallest positive step.
void tally_step(gap_tally& tally, const time_step& step, double typical, double smallest);

// Finds the typical step of `steps` steps spanning span seconds, with
// tally_for(typical) giving the anomalies for a guess: from the mean of every
// step that is not back, each guess leaves out the gaps of the one before,
// until no more are found.
template <class TallyFor>
gap_judgement settle_gaps(double span, std::uint32_t steps, TallyFor tally_for)
{
    // An infinite guess finds the steps back only.
    constexpr double none = std::numeric_limits<double>::infinity();
    gap_judgement j{none, tally_for(none)};
    for (;;) {
        const double typical = (span - j.tally.sum) / static_cast<double>(steps - j.tally.count);
        const gap_tally next = tally_for(typical);
        const bool settled = next.count <= j.tally.count;
        j = {typical, next};
        if (settled) return j;
    }
}

// Judges the kept steps of a record of `steps` steps; false when the pass may
// have missed a gap (too many kept, or a cut too coarse for the typical step).
bool judge_gaps(const time_gaps& g, std::uint32_t steps, gap_judgement& j);
