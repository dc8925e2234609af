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

pair_feed_state pair_feed;

namespace {

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
    std::uint64_t left = pair_feed.limit;
    for (std::uint64_t index = 0;; ++index) {
        {
            std::unique_lock<std::mutex> hold(pair_feed.lock);
            pair_feed.changed.wait(hold, [] {
                return pair_feed.stop || pair_feed.produced - pair_feed.consumed < block_count;
            });
            if (pair_feed.stop) return;
        }
        pair_block& b = pair_feed.blocks[index % block_count];
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(block_pairs, left));
        b.filled = scan_raw_segment_pairs(b.time, b.amplitude, b.result, n);
        if (survey_in_reader()) take_segment_reads(b.time, b.amplitude, b.result, b.filled);
        left -= b.filled;
        pair_feed.offset.store(record_offset(), std::memory_order_relaxed);
        b.last = b.result[b.filled - 1] != 2 || left == 0;
        {
            const std::lock_guard<std::mutex> hold(pair_feed.lock);
            ++pair_feed.produced;
        }
        pair_feed.changed.notify_all();
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
            const std::lock_guard<std::mutex> hold(pair_feed.lock);
            pair_feed.failed = true;
            pair_feed.ending = ending;
        }
        pair_feed.changed.notify_all();
    }
}

// Waits for the next filled block, hands its reads to the survey and --scale,
// and makes it the current one.
void take_block()
{
    std::unique_lock<std::mutex> hold(pair_feed.lock);
    pair_feed.changed.wait(
        hold, [] { return pair_feed.consumed < pair_feed.produced || pair_feed.failed; });
    if (pair_feed.consumed == pair_feed.produced) {
        const helper_ending ending = pair_feed.ending;
        hold.unlock();
        end_run_with(ending);
    }
    pair_block& b = pair_feed.blocks[pair_feed.consumed % block_count];
    hold.unlock();
    if (!survey_in_reader()) take_segment_reads(b.time, b.amplitude, b.result, b.filled);
    pair_feed.current = &b;
    pair_feed.next = 0;
}

// Gives the current block back to the reader.
void give_back_block()
{
    {
        const std::lock_guard<std::mutex> hold(pair_feed.lock);
        ++pair_feed.consumed;
    }
    pair_feed.changed.notify_all();
    pair_feed.current = nullptr;
}

// Marks the reads of the current block before i as taken, giving the block
// back when all are; after the reader's last block the reader is stopped.
void taken_up_to(std::uint32_t i)
{
    pair_feed.next = i;
    if (i < pair_feed.current->filled) return;
    const bool last = pair_feed.current->last;
    give_back_block();
    if (last) stop_pair_feed(); // the reader has ended; reads go on straight from the record
}

} // namespace

void start_pair_feed(std::uint64_t limit)
{
    stop_pair_feed();
    if (limit == 0) return;
    on_end_stop_reading(stop_pair_feed); // a run ending early stops the reader first
    pair_feed.limit = limit;
    pair_feed.produced = pair_feed.consumed = 0;
    pair_feed.stop = false;
    pair_feed.failed = false;
    pair_feed.current = nullptr;
    pair_feed.offset.store(record_offset(), std::memory_order_relaxed);
    pair_feed.reader = std::thread(read_ahead);
}

void stop_pair_feed()
{
    if (!pair_feed.reader.joinable()) return;
    {
        const std::lock_guard<std::mutex> hold(pair_feed.lock);
        pair_feed.stop = true;
    }
    pair_feed.changed.notify_all();
    pair_feed.reader.join();
    pair_feed.current = nullptr;
}

int next_segment_pair(double* time, float* amplitude)
{
    if (!pair_feed.reader.joinable()) return scan_segment_pair(time, amplitude);
    if (pair_feed.current == nullptr) take_block();
    const pair_block& b = *pair_feed.current;
    const std::uint32_t i = pair_feed.next;
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
        if (!pair_feed.reader.joinable()) {
            double t;
            if (scan_segment_pair(&t, &out[count].re) != 2) break;
            ++count;
            continue;
        }
        if (pair_feed.current == nullptr) take_block();
        const pair_block& b = *pair_feed.current;
        std::uint32_t i = pair_feed.next;
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
    return pair_feed.reader.joinable() ? pair_feed.offset.load(std::memory_order_relaxed)
                                       : record_offset();
}

void reset_pair_feed()
{
    stop_pair_feed();
    pair_feed.produced = pair_feed.consumed = 0;
    pair_feed.stop = pair_feed.failed = false;
    pair_feed.limit = 0;
    pair_feed.current = nullptr;
    pair_feed.next = 0;
    pair_feed.offset.store(0, std::memory_order_relaxed);
    pair_feed.ending = helper_ending{};
}
