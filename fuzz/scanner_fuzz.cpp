// Record scanner fuzz target: the fast scanner must give the same results,
// values (bit for bit) and stream positions as the C library's formatted input
// on any bytes. An input is one control byte, then the record: the control
// byte picks the pair format (survey "%lf %lf" or segment " %lf %f ") and the
// scanner's window, so numbers cross block ends and outgrow the buffer.
#include "input/record_reference.h"
#include "input/record_scanner.h"
#include "core/analysis_state.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int max_reads = 100000;

// What one read gave.
struct read_outcome {
    int result;
    std::uint64_t time_bits;
    std::uint64_t amplitude_bits;
    long long offset;
};

// One read with the fast scanner or the reference; values not converted keep a marker.
read_outcome read_pair(bool fast, bool survey)
{
    double time = -7.25;
    double wide = -7.25;
    float narrow = -7.25f;
    read_outcome r{};
    if (survey)
        r.result =
            fast ? fast_scan_survey_pair(&time, &wide) : reference_scan_survey_pair(&time, &wide);
    else
        r.result = fast ? fast_scan_segment_pair(&time, &narrow)
                        : reference_scan_segment_pair(&time, &narrow);
    std::memcpy(&r.time_bits, &time, sizeof time);
    if (survey) {
        std::memcpy(&r.amplitude_bits, &wide, sizeof wide);
    } else {
        std::uint32_t bits;
        std::memcpy(&bits, &narrow, sizeof narrow);
        r.amplitude_bits = bits;
    }
    r.offset = fast ? fast_record_offset() : reference_record_offset();
    return r;
}

// Reads the record in slot 1 until a read gives no pair; returns the reads.
int read_all(bool fast, bool survey, read_outcome* reads)
{
    int n = 0;
    while (n < max_reads) {
        reads[n] = read_pair(fast, survey);
        if (reads[n++].result != 2) break;
    }
    return n;
}

read_outcome expected[max_reads];
read_outcome actual[max_reads];

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0; // a memory stream needs at least one byte of record
    const unsigned control = data[0];
    const bool survey = (control & 1) != 0;
    const std::size_t windows[][2] = {{0, 0}, {16, 1}, {16, 16}, {24, 5}, {64, 7}, {300, 64}};
    const auto& window = windows[(control >> 1) % (sizeof windows / sizeof windows[0])];
    char* record = const_cast<char*>(reinterpret_cast<const char*>(data + 1));
    fast_scan_set_window(window[0], window[1]);
    st.fp[1] = fmemopen(record, size - 1, "r");
    if (st.fp[1] == nullptr) std::abort();
    const int n = read_all(false, survey, expected);
    std::fclose(st.fp[1]);
    st.fp[1] = fmemopen(record, size - 1, "r");
    if (st.fp[1] == nullptr) std::abort();
    const int m = read_all(true, survey, actual);
    std::fclose(st.fp[1]);
    st.fp[1] = nullptr;
    for (int i = 0; i < n || i < m; ++i) {
        if (i < n && i < m && std::memcmp(&expected[i], &actual[i], sizeof expected[i]) == 0)
            continue;
        const read_outcome& e = expected[i < n ? i : n - 1];
        const read_outcome& a = actual[i < m ? i : m - 1];
        std::fprintf(stderr,
                     "read %d of %d/%d differs: reference %d %016llx %016llx at %lld, fast %d "
                     "%016llx %016llx at %lld\n",
                     i, n, m, e.result, static_cast<unsigned long long>(e.time_bits),
                     static_cast<unsigned long long>(e.amplitude_bits), e.offset, a.result,
                     static_cast<unsigned long long>(a.time_bits),
                     static_cast<unsigned long long>(a.amplitude_bits), a.offset);
        std::abort();
    }
    return 0;
}
