// A record that changes while it is read: the segment pass takes exactly the
// pairs the survey counted, ends the run when the record gives fewer, and
// tells when the file grew after the count; the single pass compares the file
// at its end with the file as it was opened.
#include "input/record_change.h"
#include "core/analysis_state.h"
#include "core/end_run.h"

#include <atomic>
#include <sys/stat.h>

record_change_state record_change{};

namespace {

// Pairs the segment pass has taken before the segment being read: the first
// segment takes m, each later one nhs.
std::uint64_t pairs_before()
{
    return st.nave == 0 ? 0 : st.m + std::uint64_t{st.nave - 1} * st.nhs;
}

// The one stamp of the run's record.
record_stamp& stamp()
{
    return record_change.noted;
}

// The record file's size and modification time now; false for a stream.
bool file_now(struct stat& info)
{
    return st.fp[1] != nullptr && fstat(fileno(st.fp[1]), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

void note_record_stamp()
{
    struct stat info {};
    stamp().bytes = file_now(info) ? static_cast<long long>(info.st_size) : -1;
    stamp().modified = info.st_mtim;
}

void note_record_end(long long offset)
{
    const record_stamp& s = stamp();
    if (s.bytes >= 0 && offset < s.bytes) stamp().early_end = offset;
}

void check_record_unchanged()
{
    const record_stamp& s = stamp();
    struct stat info {};
    if (s.bytes < 0 || !file_now(info)) return;
    const long long now = static_cast<long long>(info.st_size);
    if (now == s.bytes && s.early_end < 0 && info.st_mtim.tv_sec == s.modified.tv_sec &&
        info.st_mtim.tv_nsec == s.modified.tv_nsec)
        return;
    run_failed("the record changed while it was read (" + std::to_string(s.bytes) +
               " bytes when opened, " + std::to_string(now) +
               " at the end of the pass); nothing was written");
}

long long record_file_bytes()
{
    struct stat info {};
    if (st.fp[1] == nullptr || fstat(fileno(st.fp[1]), &info) != 0) return -1;
    return static_cast<long long>(info.st_size);
}

void note_record_size()
{
    st.rec_bytes = record_file_bytes();
}

bool record_grew()
{
    return !st.one_pass && st.rec_bytes >= 0 && record_file_bytes() > st.rec_bytes;
}

std::uint32_t pairs_allowed(std::uint32_t n)
{
    const std::uint64_t before = pairs_before();
    const std::uint64_t left = st.record_pairs > before ? st.record_pairs - before : 0;
    return left < n ? static_cast<std::uint32_t>(left) : n;
}

void check_pairs_read(std::uint32_t allowed, std::uint32_t got)
{
    // A single pass reads until the record ends: a short read is its end, not a change.
    if (got >= allowed || st.one_pass) return;
    end_run("\n\n Error: the record changed while it was read: %ld pairs were counted, %ld could"
            " be read again. ",
            static_cast<long>(st.record_pairs), static_cast<long>(pairs_before() + got));
}

void reset_record_change()
{
    record_change.noted.bytes = -1;
    record_change.noted.modified = timespec{};
    record_change.noted.early_end.store(-1);
}
