// A record that changes while it is read: the segment pass takes exactly the
// pairs the survey counted, ends the run when the record gives fewer, and
// tells when the file grew after the count.
#include "input/input.h"
#include "core/analysis_state.h"
#include "core/end_run.h"

#include <sys/stat.h>

namespace {

// Pairs the segment pass has taken before the segment being read: the first
// segment takes m, each later one nhs.
std::uint64_t pairs_before()
{
    return st.nave == 0 ? 0 : st.m + std::uint64_t{st.nave - 1} * st.nhs;
}

} // namespace

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
