// Whether the record changed while it was read: its size, its stamp, the pairs allowed.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>

// The record file as it was opened, against which the single pass's end is held.
struct record_stamp {
    long long bytes = -1;                 // size at open; -1 for a stream
    timespec modified{};                  // modification time at open
    std::atomic<long long> early_end{-1}; // offset where a read met an early end, or -1
};

// What is noted of the record as it was opened.
struct record_change_state {
    record_stamp noted; // the run's record as it was opened
};
extern record_change_state record_change;

// For tests: nothing noted.
void reset_record_change();

// Bytes of the record file now; -1 when it cannot be told.
long long record_file_bytes();

// Keeps the size of the record file as the survey leaves it (st.rec_bytes).
void note_record_size();

// True when the record file is larger now than when the survey had counted it.
bool record_grew();

// Notes the size and modification time of the record file in slot 1 as it is
// opened (nothing for a stream).
void note_record_stamp();

// Notes where a read of the record met its end: before the size seen at open,
// the record was cut while it was read. Safe on the read-ahead thread.
void note_record_end(long long offset);

// After the single pass: ends the run when the record file's size or
// modification time is not what it was at open, or a read met its end early.
void check_record_unchanged();

// The pairs a segment read may take, at most n: no more than the survey
// counted are ever read (st.record_pairs, with st.nave segments done before).
std::uint32_t pairs_allowed(std::uint32_t n);

// Ends the run when a segment read got fewer pairs than it was allowed: the
// record has changed since the survey counted it.
void check_pairs_read(std::uint32_t allowed, std::uint32_t got);
