// Steps of the time column that break a constant time step: a step larger
// than 1.5 times the record's mean step dt, or a negative one. The survey's
// counting pass feeds every time it reads through note_time(); dt is known only
// after the count, so the pass keeps the steps that may turn out to be gaps,
// judged against a reference step taken from the record's first pairs, and
// judge_gaps() sorts them once dt is known. Memory stays bounded: when more
// steps were kept than fit, or the reference turned out too coarse, the
// judgement says it is not exact and the caller tallies the record again.
#pragma once

#include <cstdint>

constexpr int gap_candidates = 512;       // steps kept at most
constexpr std::uint32_t gap_warmup = 64;  // pairs before the reference step is taken
constexpr double gap_factor = 1.5;        // a step above this many dt is a gap
constexpr double candidate_factor = 1.25; // steps above this many reference steps are kept

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
    long long first_offset;              // record offset just after it
    double cut;                          // steps above it, or negative, are kept; 0 while warming
    bool warming;                        // the reference step is not yet taken
    bool overflow;                       // a step that should have been kept was not
    int kept;                            // steps kept
    time_step candidate[gap_candidates]; // the steps kept, in record order
};

// The gaps found, once dt is known.
struct gap_tally {
    long count;      // steps above 1.5 dt or negative
    time_step first; // the first of them
    double largest;  // the step of largest magnitude among them, s
};

// Starts the tracker at the first pair of a record.
void start_gaps(time_gaps& g, std::uint32_t pair, double t, long long offset);

// Keeps a step that may be a gap; returns whether it was kept (see note_time).
bool keep_step(time_gaps& g, std::uint32_t pair, double before, double after);

// Feeds the time of the next pair; returns true when its step was kept, and
// the caller then gives the record offset with place_last_step().
inline bool note_time(time_gaps& g, std::uint32_t pair, double t)
{
    const double before = g.prev;
    g.prev = t;
    const double step = t - before;
    if (step <= g.cut && step >= 0.) return false;
    return keep_step(g, pair, before, t);
}

// Sets the record offset of the step kept last.
void place_last_step(time_gaps& g, long long offset);

// Adds one step to the tally when it is a gap for the mean step dt.
void tally_step(gap_tally& tally, const time_step& step, double dt);

// Tallies the kept steps for the mean step dt; false when the pass may have
// missed a gap (too many kept, or a reference step too coarse for dt).
bool judge_gaps(const time_gaps& g, double dt, gap_tally& tally);
