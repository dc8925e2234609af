// The slots of segments handed over, the worker threads that transform them,
// and the in-order addition of their power on the handing thread.
#include "spectrum/transform_pool.h"
#include "core/analysis_state.h"
#include "spectrum/cross_spectrum.h"
#include "spectrum/spectrum.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <sched.h>
#include <thread>
#include <vector>

namespace {

// One segment of one channel between its hand-over and the addition of its power.
struct transform_slot {
    std::vector<complex_entry> seg; // its samples, then its scaled spectrum (m entries)
    double mean;                    // the mean the mean removal subtracts
    double* psd;                    // where its power is added
    int channel;                    // its channel for the cross-power, -1 for none
    bool done;                      // transformed, under lock
};

// A worker thread and the scratch of its reordering.
struct transform_worker {
    std::thread thread;                 // runs work_on()
    std::vector<complex_entry> scratch; // copy of the segment for the reordering (m entries)
};

// Segment i lives in slots[i % slots.size()] from its hand-over until its
// power is added; the threads take the segments to transform in order.
struct transform_pool {
    int threads = 0;                       // as set by --threads; 0: the cores available
    std::mutex lock;                       // guards the counts, done and stop
    std::condition_variable changed;       // a segment was handed over or transformed, or stop
    std::vector<transform_slot> slots;     // the ring of segments
    std::uint64_t handed = 0;              // segments handed over
    std::uint64_t claimed = 0;             // segments taken by a thread to transform
    std::uint64_t added = 0;               // segments whose power has been added
    bool stop = false;                     // the workers are to end
    std::vector<transform_worker> workers; // the threads besides the handing one
};

// The pool lives on the heap for the whole process and is never destroyed, so
// a run ended in the middle of a pass (std::exit) leaves no thread object to destroy.
transform_pool& pool()
{
    static transform_pool* const the_pool = new transform_pool;
    return *the_pool;
}

// Conditions and transforms one slot's segment; the tables are read only.
void transform_slot_segment(transform_slot& slot, complex_entry* scratch)
{
    condition_segment(slot.seg.data(), slot.mean);
    reorder_segment(slot.seg.data(), scratch);
    fourier_stages(slot.seg.data());
}

// Takes the next segment waiting, if any, under the held lock; its index or -1.
std::int64_t claim_next(transform_pool& p)
{
    if (p.claimed == p.handed) return -1;
    return static_cast<std::int64_t>(p.claimed++);
}

// Transforms segment i outside the lock, then marks it done.
void run_claimed(transform_pool& p, std::uint64_t i, complex_entry* scratch,
                 std::unique_lock<std::mutex>& hold)
{
    transform_slot& slot = p.slots[i % p.slots.size()];
    hold.unlock();
    transform_slot_segment(slot, scratch);
    hold.lock();
    slot.done = true;
    p.changed.notify_all();
}

// A worker thread: transforms segments as they are handed over until stopped.
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

// Waits until the oldest segment not yet added is transformed, transforming
// waiting ones on this thread meanwhile; then adds its power and frees its slot.
void add_oldest()
{
    transform_pool& p = pool();
    transform_slot& slot = p.slots[p.added % p.slots.size()];
    std::unique_lock<std::mutex> hold(p.lock);
    while (!slot.done) {
        const std::int64_t i = claim_next(p);
        if (i >= 0)
            run_claimed(p, static_cast<std::uint64_t>(i), st.twiddle, hold);
        else
            p.changed.wait(hold, [&slot] { return slot.done; });
    }
    hold.unlock();
    add_power(slot.seg.data(), slot.psd);
    if (slot.channel >= 0) cross_spectrum_take(slot.channel, slot.seg.data());
    ++p.added; // only this thread reads or writes added
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

void transform_pool_start()
{
    transform_pool& p = pool();
    if (st.window_choice == hanning_window) prepare_hanning_weights();
    prepare_stage_twiddles();
    const int threads = transform_threads();
    // One slot for each thread to work on and as many again filling or waiting to be added.
    p.slots.resize(threads > 1 ? 2 * static_cast<std::size_t>(threads) : 1);
    for (transform_slot& slot : p.slots) slot.seg.assign(st.m, complex_entry{0.f, 0.f});
    p.handed = p.claimed = p.added = 0;
    p.stop = false;
    p.workers.resize(static_cast<std::size_t>(threads - 1));
    for (transform_worker& w : p.workers) {
        w.scratch.assign(st.m, complex_entry{0.f, 0.f});
        w.thread = std::thread(work_on, &w);
    }
}

void transform_hand_over(double* psd, int channel)
{
    transform_pool& p = pool();
    transform_slot& slot = p.slots[p.handed % p.slots.size()];
    for (std::uint32_t i = 0; i < st.m; ++i) slot.seg[i] = {st.seg[i].re, 0.f};
    slot.mean = st.ave;
    slot.psd = psd;
    slot.channel = channel;
    slot.done = false;
    {
        const std::lock_guard<std::mutex> hold(p.lock);
        ++p.handed;
    }
    p.changed.notify_one();
    while (p.handed - p.added >= p.slots.size()) add_oldest();
}

void transform_pool_finish()
{
    transform_pool& p = pool();
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
