// The slots of segments handed over, the worker threads that transform them,
// and the in-order addition of their power on the handing thread.
#include "spectrum/transform_pool.h"
#include "core/analysis_state.h"
#include "input/segment_statistics.h"
#include "spectrum/conditioning.h"
#include "spectrum/cross_spectrum.h"
#include "spectrum/ctfourier.h"
#include "spectrum/segment_power.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <sched.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Samples a slot holds: short segments go to the threads many at a time, so
// handing them over costs little beside their transforms, and their means and
// mean squares are summed several segments at once (on one thread too).
constexpr std::uint32_t slot_samples = 32768;

// One segment of one channel in a slot.
struct slot_segment {
    double mean;        // the mean the mean removal subtracts
    double mean_square; // its spectrum's mean square, when the slot's are wanted
    double* psd;        // where its power is added
    int channel;        // its channel for the cross-power, -1 for none
    bool mean_deferred; // the mean is taken from its samples by the thread that transforms it
};

// Consecutive segments between their hand-over and the addition of their power.
struct transform_slot {
    // Their samples, then their spectra, m entries each: left unset when made, as
    // every entry is written before it is read, so that a run touches only the
    // pages it fills (a short record a few, not the whole megabyte first).
    std::unique_ptr<complex_entry[]> seg;
    std::vector<slot_segment> segments; // what each of them is, in hand-over order
    bool mean_squares;                  // a spectrum taker wants their mean squares
    bool done;                          // transformed, under lock
};

// A worker thread and the scratch of its reordering.
struct transform_worker {
    std::thread thread;         // runs work_on()
    std::vector<float> scratch; // a conditioned segment before its reordering (m samples)
};

// Slot i is slots[i % slots.size()], filled by the handing thread, then
// transformed by any thread, then its power added by the handing thread; the
// threads take the slots to transform in order.
struct transform_pool {
    int threads = 0;                       // as set by --threads; 0: the cores available
    std::mutex lock;                       // guards handed, claimed, done and stop
    std::condition_variable changed;       // a slot was handed over or transformed, or stop
    std::vector<transform_slot> slots;     // the ring of slots
    std::uint32_t per_slot = 1;            // segments a slot holds
    std::uint64_t handed = 0;              // slots handed over (the next one is being filled)
    std::uint64_t claimed = 0;             // slots taken by a thread to transform
    std::uint64_t added = 0;               // slots whose power has been added
    bool stop = false;                     // the workers are to end
    std::vector<transform_worker> workers; // the threads besides the handing one
    std::vector<float> own_scratch;        // the handing thread's scratch, as a worker's
    spectrum_taker taker;                  // takes each spectrum after its power is added
};

// The pool lives on the heap for the whole process and is never destroyed, so
// a run ended in the middle of a pass (std::exit) leaves no thread object to destroy.
transform_pool& pool()
{
    static transform_pool* const the_pool = new transform_pool;
    return *the_pool;
}

// Takes sums over the slot's segments in groups of chained_segments (the last
// may hold fewer): sums(seg, n, out) fills out[j] for seg[j], j < n, and
// keep(segment, out[j]) keeps each sum of a segment of the slot.
template <class Sums, class Keep> void in_chained_groups(transform_slot& slot, Sums sums, Keep keep)
{
    const std::size_t count = slot.segments.size();
    for (std::size_t first = 0; first < count; first += chained_segments) {
        const std::size_t n = std::min<std::size_t>(chained_segments, count - first);
        const complex_entry* seg[chained_segments];
        for (std::size_t j = 0; j < n; ++j) seg[j] = slot.seg.get() + (first + j) * st.m;
        double out[chained_segments];
        sums(seg, n, out);
        for (std::size_t j = 0; j < n; ++j) keep(slot.segments[first + j], out[j]);
    }
}

// Takes the means the reading thread left to this one, before any segment is conditioned.
void take_deferred_means(transform_slot& slot)
{
    if (slot.segments.empty() || !slot.segments[0].mean_deferred) return;
    const std::uint32_t m = st.m;
    in_chained_groups(
        slot,
        [m](const complex_entry* const* seg, std::size_t n, double* out) {
            chained_sample_means(seg, n, m, out);
        },
        [](slot_segment& s, double mean) {
            if (s.mean_deferred) s.mean = mean;
        });
}

// Takes the mean squares of the slot's spectra, after every segment is transformed.
void take_mean_squares(transform_slot& slot)
{
    const std::uint32_t m = st.m;
    in_chained_groups(
        slot,
        [m](const complex_entry* const* seg, std::size_t n, double* out) {
            chained_mean_squares(seg, n, m, out);
        },
        [](slot_segment& s, double mean_square) { s.mean_square = mean_square; });
}

// Conditions and transforms the segments of a slot, taking their means and
// mean squares where the reading thread left them; the tables are read only.
void transform_slot_segments(transform_slot& slot, float* scratch)
{
    take_deferred_means(slot);
    for (std::size_t k = 0; k < slot.segments.size(); ++k) {
        complex_entry* seg = slot.seg.get() + k * st.m;
        condition_samples(seg, scratch, slot.segments[k].mean); // conditioned into the scratch,
        reorder_first_stage(seg, scratch); // back in bit-reversed order, first stage taken
        later_fourier_stages(seg);
    }
    if (slot.mean_squares) take_mean_squares(slot);
}

// Takes the next slot waiting, if any, under the held lock; its index or -1.
std::int64_t claim_next(transform_pool& p)
{
    if (p.claimed == p.handed) return -1;
    return static_cast<std::int64_t>(p.claimed++);
}

// Transforms slot i outside the lock, then marks it done.
void run_claimed(transform_pool& p, std::uint64_t i, float* scratch,
                 std::unique_lock<std::mutex>& hold)
{
    transform_slot& slot = p.slots[i % p.slots.size()];
    hold.unlock();
    transform_slot_segments(slot, scratch);
    hold.lock();
    slot.done = true;
    p.changed.notify_all();
}

// A worker thread: transforms slots as they are handed over until stopped.
void work_on(transform_worker* self)
{
    transform_pool& p = pool();
    std::unique_lock<std::mutex> hold(p.lock);
    for (;;) {
        p.changed.wait(hold, [&p] { return p.stop || p.claimed < p.handed; });
        const std::int64_t i = claim_next(p);
        if (i >= 0)
            run_claimed(p, static_cast<std::uint64_t>(i), self->scratch.data(), hold);
        else if (p.stop)
            return;
    }
}

// Waits until the oldest slot not yet added is transformed, transforming
// waiting ones on this thread meanwhile; then adds the power of its segments
// in order and frees it.
void add_oldest()
{
    transform_pool& p = pool();
    transform_slot& slot = p.slots[p.added % p.slots.size()];
    std::unique_lock<std::mutex> hold(p.lock);
    while (!slot.done) {
        const std::int64_t i = claim_next(p);
        if (i >= 0)
            run_claimed(p, static_cast<std::uint64_t>(i), p.own_scratch.data(), hold);
        else
            p.changed.wait(hold, [&slot] { return slot.done; });
    }
    hold.unlock();
    for (std::size_t k = 0; k < slot.segments.size(); ++k) {
        const complex_entry* spectrum = slot.seg.get() + k * st.m;
        add_power(spectrum, slot.segments[k].psd);
        if (slot.segments[k].channel >= 0) cross_spectrum_take(slot.segments[k].channel, spectrum);
        if (p.taker) p.taker(slot.segments[k].channel, spectrum, slot.segments[k].mean_square);
    }
    slot.segments.clear();
    ++p.added; // only this thread reads or writes added
}

// Hands the slot being filled over to the threads, then frees the oldest
// slots while no slot is left to fill.
void hand_over_slot()
{
    transform_pool& p = pool();
    {
        const std::lock_guard<std::mutex> hold(p.lock);
        transform_slot& slot = p.slots[p.handed % p.slots.size()];
        slot.mean_squares = static_cast<bool>(p.taker);
        slot.done = false;
        ++p.handed;
    }
    p.changed.notify_one();
    while (p.handed - p.added >= p.slots.size()) add_oldest();
}

} // namespace

void set_transform_threads(int threads)
{
    pool().threads = threads;
}

int transform_threads()
{
    const int set = pool().threads;
    return set > 0 ? set : available_cores();
}

int available_cores()
{
    cpu_set_t cores;
    CPU_ZERO(&cores);
    if (sched_getaffinity(0, sizeof cores, &cores) != 0) return 1;
    return std::max(1, CPU_COUNT(&cores));
}

void set_spectrum_taker(spectrum_taker taker)
{
    pool().taker = std::move(taker);
}

void transform_pool_start()
{
    transform_pool& p = pool();
    if (st.window_choice == hanning_window) prepare_hanning_weights();
    prepare_stage_twiddles();
    const int threads = transform_threads();
    p.per_slot = std::max(1u, slot_samples / st.m);
    // One slot for each thread to work on and as many again filling or waiting to be added.
    p.slots.resize(threads > 1 ? 2 * static_cast<std::size_t>(threads) : 1);
    for (transform_slot& slot : p.slots) {
        // NOLINTNEXTLINE(modernize-make-unique): make_unique would set every entry
        slot.seg.reset(new complex_entry[static_cast<std::size_t>(p.per_slot) * st.m]);
        slot.segments.clear();
        slot.segments.reserve(p.per_slot);
    }
    p.handed = p.claimed = p.added = 0;
    p.stop = false;
    p.own_scratch.assign(st.m, 0.f);
    p.workers.resize(static_cast<std::size_t>(threads - 1));
    for (transform_worker& w : p.workers) {
        w.scratch.assign(st.m, 0.f);
        w.thread = std::thread(work_on, &w);
    }
}

void transform_hand_over(double* psd, int channel)
{
    transform_pool& p = pool();
    transform_slot& slot = p.slots[p.handed % p.slots.size()];
    complex_entry* seg = slot.seg.get() + slot.segments.size() * st.m;
    for (std::uint32_t i = 0; i < st.m; ++i) seg[i].re = st.seg[i].re;
    const bool deferred = segment_mean_deferred();
    slot.segments.push_back({deferred ? 0. : st.ave, 0., psd, channel, deferred});
    if (slot.segments.size() == p.per_slot) hand_over_slot();
}

void transform_pool_finish()
{
    transform_pool& p = pool();
    if (!p.slots[p.handed % p.slots.size()].segments.empty()) hand_over_slot();
    while (p.added < p.handed) add_oldest();
    {
        const std::lock_guard<std::mutex> hold(p.lock);
        p.stop = true;
    }
    p.changed.notify_all();
    for (transform_worker& w : p.workers) w.thread.join();
    p.workers.clear();
    p.slots.clear();
    p.slots.shrink_to_fit();
}
