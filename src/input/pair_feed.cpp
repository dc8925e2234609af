// The read-ahead thread of the segment loop and the blocks of pairs it hands over.
#include "input/pair_feed.h"
#include "core/helper_ending.h"
#include "core/run_cleanups.h"
#include "input/record_format.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace {

constexpr std::uint32_t block_pairs = 8192; // reads per block
constexpr std::uint64_t block_count = 4;    // blocks the reader may fill ahead

// The results of consecutive reads: the values are valid only where the read
// gave a pair (result 2).
struct pair_block {
    double time[block_pairs];
    float amplitude[block_pairs];
    signed char result[block_pairs];
    std::uint32_t filled; // reads held
    bool last;            // the last read failed: the reader has stopped
};

// The blocks and the hand-over between the two threads. Block i lives in
// blocks[i % block_count]; the reader fills it while produced - consumed <
// block_count, the loop reads it while consumed < produced.
struct feed_state {
    pair_block blocks[block_count];
    std::mutex lock;
    std::condition_variable changed;
    std::uint64_t produced; // blocks filled, under lock
    std::uint64_t consumed; // blocks read and given back, under lock
    bool stop;              // the loop asks the reader to end, under lock
    std::uint64_t limit;    // pairs the reader may read at most
    std::thread reader;
    const pair_block* current;        // the block being taken by the loop, or none
    std::uint32_t next;               // its next read
    std::atomic<long long> offset{0}; // record offset after the reader's last block
    bool failed;                      // the reader met an ending, under lock
    helper_ending ending;             // which, for the loop to end the run with, under lock
};
feed_state feed;

// Where the reads go to the survey and --scale: the thread with less to do,
// the reader's for a sound file (it copies samples), the segment loop's for
// text (the reader parses it).
bool survey_in_reader()
{
    return st.sound;
}

// Fills free blocks with reads until one gives no pair, the limit is reached
// or the reader is stopped.
void fill_blocks()
{
    std::uint64_t left = feed.limit;
    for (std::uint64_t index = 0;; ++index) {
        {
            std::unique_lock<std::mutex> hold(feed.lock);
            feed.changed.wait(
                hold, [] { return feed.stop || feed.produced - feed.consumed < block_count; });
            if (feed.stop) return;
        }
        pair_block& b = feed.blocks[index % block_count];
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(block_pairs, left));
        b.filled = scan_raw_segment_pairs(b.time, b.amplitude, b.result, n);
        if (survey_in_reader()) take_segment_reads(b.time, b.amplitude, b.result, b.filled);
        left -= b.filled;
        feed.offset.store(record_offset(), std::memory_order_relaxed);
        b.last = b.result[b.filled - 1] != 2 || left == 0;
        {
            const std::lock_guard<std::mutex> hold(feed.lock);
            ++feed.produced;
        }
        feed.changed.notify_all();
        if (b.last) return;
    }
}

// The reader thread: fills free blocks with reads until one gives no pair, the
// limit is reached or it is stopped. An ending it meets (a sample that is not a
// number) is handed to the loop, which ends the run after the blocks before it.
void read_ahead()
{
    mark_helper_thread();
    try {
        fill_blocks();
    } catch (const helper_ending& ending) {
        {
            const std::lock_guard<std::mutex> hold(feed.lock);
            feed.failed = true;
            feed.ending = ending;
        }
        feed.changed.notify_all();
    }
}

// Waits for the next filled block, hands its reads to the survey and --scale,
// and makes it the current one.
void take_block()
{
    std::unique_lock<std::mutex> hold(feed.lock);
    feed.changed.wait(hold, [] { return feed.consumed < feed.produced || feed.failed; });
    if (feed.consumed == feed.produced) {
        const helper_ending ending = feed.ending;
        hold.unlock();
        end_run_with(ending);
    }
    pair_block& b = feed.blocks[feed.consumed % block_count];
    hold.unlock();
    if (!survey_in_reader()) take_segment_reads(b.time, b.amplitude, b.result, b.filled);
    feed.current = &b;
    feed.next = 0;
}

// Gives the current block back to the reader.
void give_back_block()
{
    {
        const std::lock_guard<std::mutex> hold(feed.lock);
        ++feed.consumed;
    }
    feed.changed.notify_all();
    feed.current = nullptr;
}

// Marks the reads of the current block before i as taken, giving the block
// back when all are; after the reader's last block the reader is stopped.
void taken_up_to(std::uint32_t i)
{
    feed.next = i;
    if (i < feed.current->filled) return;
    const bool last = feed.current->last;
    give_back_block();
    if (last) stop_pair_feed(); // the reader has ended; reads go on straight from the record
}

} // namespace

void start_pair_feed(std::uint64_t limit)
{
    stop_pair_feed();
    if (limit == 0) return;
    on_end_stop_reading(stop_pair_feed); // a run ending early stops the reader first
    feed.limit = limit;
    feed.produced = feed.consumed = 0;
    feed.stop = false;
    feed.failed = false;
    feed.current = nullptr;
    feed.offset.store(record_offset(), std::memory_order_relaxed);
    feed.reader = std::thread(read_ahead);
}

void stop_pair_feed()
{
    if (!feed.reader.joinable()) return;
    {
        const std::lock_guard<std::mutex> hold(feed.lock);
        feed.stop = true;
    }
    feed.changed.notify_all();
    feed.reader.join();
    feed.current = nullptr;
}

int next_segment_pair(double* time, float* amplitude)
{
    if (!feed.reader.joinable()) return scan_segment_pair(time, amplitude);
    if (feed.current == nullptr) take_block();
    const pair_block& b = *feed.current;
    const std::uint32_t i = feed.next;
    // NOLINTNEXTLINE(bugprone-signed-char-misuse,cert-str34-c): a result from EOF to 2, no char
    const int result = b.result[i];
    if (result == 2) {
        *time = b.time[i];
        *amplitude = b.amplitude[i];
    }
    taken_up_to(i + 1);
    return result;
}

std::uint32_t next_segment_amplitudes(complex_entry* out, std::uint32_t n)
{
    std::uint32_t count = 0;
    while (count < n) {
        if (!feed.reader.joinable()) {
            double t;
            if (scan_segment_pair(&t, &out[count].re) != 2) break;
            ++count;
            continue;
        }
        if (feed.current == nullptr) take_block();
        const pair_block& b = *feed.current;
        std::uint32_t i = feed.next;
        const std::uint32_t end = std::min(b.filled, i + (n - count));
        bool failed = false;
        for (; i < end && !failed; ++i) {
            failed = b.result[i] != 2;
            if (b.result[i] == 2) out[count].re = b.amplitude[i];
            count += !failed;
        }
        taken_up_to(i);
        if (failed) break;
    }
    return count;
}

long long feed_offset()
{
    return feed.reader.joinable() ? feed.offset.load(std::memory_order_relaxed) : record_offset();
}
