// Whether the record changed while it was read: its size, its stamp, the pairs allowed.
#pragma once

#include <cstdint>

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
