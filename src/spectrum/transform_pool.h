// The worker threads of the segment loop: each segment of each channel is
// handed over with its mean, conditioned and transformed on whichever thread is
// free, and its power (and cross-power) added in the order the segments were
// handed over, on the thread that hands them over, so every sum has the same
// bits whatever the timing of the threads.
#pragma once

#include "core/analysis_state.h"

#include <functional>

// Sets the threads that transform, the handing thread included; 1 transforms
// every segment on the handing thread, a slot of segments at a time.
void set_transform_threads(int threads);

// The threads that transform: as set, else the cores the process may run on.
int transform_threads();

// The cores the process may run on, as sched_getaffinity reports them; at least 1.
int available_cores();

// Computes the tables the transforms share (window weights, stage twiddles)
// for st.m, then starts the workers of a segment pass.
void transform_pool_start();

// Hands over the segment in st.seg, entries 0..m-1, with its mean st.ave: its
// power goes into psd and, for channel >= 0, into the channel's cross-power.
// Adds the power of earlier segments first where every slot is taken, helping
// to transform those still waiting.
void transform_hand_over(double* psd, int channel);

// Adds the power of every segment handed over, in order, and stops the workers.
void transform_pool_finish();

// Receives each segment's spectrum (its channel, -1 for a one-channel record) and
// its mean square (taken on the thread that transformed it) on the handing
// thread, in the order the segments were handed over, after its power is added.
using spectrum_taker =
    std::function<void(int channel, const complex_entry* spectrum, double mean_square)>;

// Sets the taker of the segments' spectra; an empty one takes none.
void set_spectrum_taker(spectrum_taker taker);
