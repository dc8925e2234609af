// The fast record scanner against the C library's formatted input: the same
// results, the same values bit for bit and the same stream positions after
// every read, over a large generated corpus of valid and malformed text, read
// with the full buffer and with small windows so numbers cross block ends and
// outgrow the buffer.
#include "input/pair_feed.h"
#include "input/record_reference.h"
#include "input/record_scanner.h"
#include "record_scanner_corpus.h"
#include "state_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// What one read gave: its result, its values as bits, and where the stream stands.
struct read_outcome {
    int result;
    std::uint64_t time_bits;
    std::uint64_t amplitude_bits;
    long long offset;
    bool operator==(const read_outcome& o) const
    {
        return result == o.result && time_bits == o.time_bits &&
               amplitude_bits == o.amplitude_bits && offset == o.offset;
    }
};

std::ostream& operator<<(std::ostream& os, const read_outcome& r)
{
    return os << "{result " << r.result << ", time bits " << std::hex << r.time_bits
              << ", amplitude bits " << r.amplitude_bits << std::dec << ", offset " << r.offset
              << "}";
}

enum class pair_format { survey, segment };
enum class reader_kind { fast, reference, feed }; // feed: fast, read ahead (segment pairs)

template <class T> std::uint64_t bits_of(T v)
{
    std::uint64_t b = 0;
    std::memcpy(&b, &v, sizeof v);
    return b;
}

// One read of a pair with the chosen reader; values not converted keep a marker.
read_outcome read_pair(reader_kind reader, pair_format format)
{
    const bool fast = reader == reader_kind::fast;
    double time = -7.25;
    read_outcome r{};
    if (format == pair_format::survey) {
        double amplitude = -7.25;
        r.result = fast ? fast_scan_survey_pair(&time, &amplitude)
                        : reference_scan_survey_pair(&time, &amplitude);
        r.amplitude_bits = bits_of(amplitude);
    } else {
        float amplitude = -7.25f;
        r.result = reader == reader_kind::feed ? next_segment_pair(&time, &amplitude)
                   : fast                      ? fast_scan_segment_pair(&time, &amplitude)
                                               : reference_scan_segment_pair(&time, &amplitude);
        r.amplitude_bits = bits_of(amplitude);
    }
    r.time_bits = bits_of(time);
    // The feed's reader runs ahead of the reads taken: its offset tells nothing.
    if (reader != reader_kind::feed)
        r.offset = fast ? fast_record_offset() : reference_record_offset();
    return r;
}

// Reads the record in text until a read converts nothing (the program stops
// there; failures > 1 goes on past as many failed reads).
std::vector<read_outcome> read_all(const std::string& record, reader_kind reader,
                                   pair_format format, int failures = 1)
{
    std::FILE* f = fmemopen(const_cast<char*>(record.data()), record.size(), "r");
    if (record.empty()) f = std::tmpfile(); // fmemopen refuses an empty buffer
    st.fp[1] = f;
    if (reader == reader_kind::feed) start_pair_feed(UINT64_MAX);
    std::vector<read_outcome> reads;
    while (failures > 0) {
        reads.push_back(read_pair(reader, format));
        failures -= reads.back().result != 2;
    }
    stop_pair_feed();
    std::fclose(f);
    st.fp[1] = nullptr;
    return reads;
}

// What a comparison covered.
struct comparison {
    long reads;       // reads compared
    long float_edges; // amplitudes whose float differs from their double rounded to float
};

// Both readers over every record, in both formats, with the scanner's window
// set to capacity bytes read chunk bytes at a time.
comparison compare_readers(const std::vector<std::string>& records, std::size_t capacity,
                           std::size_t chunk)
{
    fast_scan_set_window(capacity, chunk);
    comparison c{0, 0};
    for (const std::string& record : records) {
        std::vector<read_outcome> survey;
        for (const pair_format format : {pair_format::survey, pair_format::segment}) {
            const auto expected = read_all(record, reader_kind::reference, format);
            const auto actual = read_all(record, reader_kind::fast, format);
            EXPECT_EQ(actual, expected)
                << "record \"" << shown(record) << "\", window " << capacity << "/" << chunk
                << (format == pair_format::survey ? ", survey" : ", segment");
            if (actual != expected) {
                fast_scan_set_window(0, 0);
                return c;
            }
            c.reads += static_cast<long>(expected.size());
            if (format == pair_format::survey) survey = expected;
        }
        // The segment reads take the same pairs; compare the two amplitudes.
        const auto segment = read_all(record, reader_kind::reference, pair_format::segment);
        for (std::size_t i = 0; i < segment.size() && i < survey.size(); ++i) {
            if (segment[i].result != 2 || survey[i].result != 2) continue;
            double wide;
            float narrow;
            std::memcpy(&wide, &survey[i].amplitude_bits, sizeof wide);
            std::memcpy(&narrow, &segment[i].amplitude_bits, sizeof narrow);
            if (bits_of(static_cast<float>(wide)) != bits_of(narrow)) ++c.float_edges;
        }
    }
    fast_scan_set_window(0, 0);
    return c;
}

class RecordScanner : public testing::Test {
protected:
    void SetUp() override { reset_state(); }
    void TearDown() override
    {
        fast_scan_set_window(0, 0);
        close_record();
    }
};

TEST_F(RecordScanner, MatchesTheCLibraryOnTheGeneratedCorpus)
{
    const std::vector<std::string> records = generated_records(12000, 20240601);
    // The full buffer; small windows, so numbers cross block ends; and a window
    // smaller than many numbers, so they are folded as they stream by.
    for (const auto& window : {std::pair<int, int>{0, 0}, {64, 7}, {16, 1}, {16, 16}}) {
        const comparison c = compare_readers(records, window.first, window.second);
        EXPECT_GT(c.reads, 60000);
        EXPECT_GT(c.float_edges, 300);
    }
}

TEST_F(RecordScanner, MatchesTheCLibraryOnNumbersLongerThanTheBuffer)
{
    std::vector<std::string> records;
    const std::string digits(300, '7');
    const std::string zeros(300, '0');
    for (const std::string& mantissa :
         {digits, zeros + "1", "0." + zeros + digits, digits + "." + digits, "0x" + digits,
          "0x." + zeros + "8", "-" + zeros, "+." + zeros, "1" + zeros + "e-300"}) {
        for (const std::string& exponent :
             {std::string(), std::string("e"), std::string("e+"), "e-" + zeros + "5", "e" + digits,
              "p-" + digits, "p+" + zeros + "12"})
            records.push_back(" " + mantissa + exponent + " 1.5\n2 " + mantissa + exponent + "\n");
    }
    for (const auto& window : {std::pair<int, int>{64, 5}, {16, 16}, {0, 0}})
        EXPECT_GT(compare_readers(records, window.first, window.second).reads, 200);
}

TEST_F(RecordScanner, KnownCasesOfTheReaders)
{
    // Each record with the results and stream offsets of its survey reads. A
    // number stands only before white space or the end; a read that gives no
    // pair takes nothing and stays at the pair's first byte.
    const struct {
        const char* record;
        std::vector<int> results;
        std::vector<long long> offsets;
    } cases[] = {
        {"100ergs 5", {0}, {0}},                 // "100e" runs into "rgs"
        {"1e+ 3", {2, -1}, {5, 5}},              // an exponent without digits
        {"nan(abc) 3", {0}, {0}},                // no parenthesised not-a-number
        {"+.e1 2", {0}, {0}},                    // "+." and nothing
        {"infx 1", {0}, {0}},                    // a word that is not exactly "inf"
        {"NaN 1 info 2", {2, 0}, {5, 6}},        // "NaN" is one, "info" is not
        {"infin 1", {0}, {0}},                   // a word cut short
        {"0x1p3 2", {2, -1}, {7, 7}},            // a hexadecimal float
        {"0x 1", {0}, {0}},                      // "0x" and nothing after
        {"1,5 2", {0}, {0}},                     // a comma decimal
        {"  0.008 1.5.5", {0}, {2}},             // an amplitude with two points
        {"1 2\n3", {2, 1}, {3, 4}},              // a time and then the end
        {"1e400 1e-400\r\n", {2, -1}, {12, 14}}, // out of range: infinity and zero
        {"1\v2\f3 4", {2, 2, -1}, {3, 7, 7}},    // every kind of white space
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        for (const reader_kind reader : {reader_kind::reference, reader_kind::fast}) {
            const auto reads = read_all(c.record, reader, pair_format::survey);
            ASSERT_EQ(reads.size(), c.results.size());
            for (std::size_t i = 0; i < reads.size(); ++i) {
                EXPECT_EQ(reads[i].result, c.results[i]) << i;
                EXPECT_EQ(reads[i].offset, c.offsets[i]) << i;
            }
        }
    }
}

TEST_F(RecordScanner, FloatAmplitudesAreRoundedFromTheTextNotViaDouble)
{
    // Halfway between two floats plus or minus far less than a double's step:
    // rounded through double it is exactly halfway and goes to the even float.
    const std::string above = "1.000000059604644775390625000000001";
    const std::string below = "1.000000059604644775390624999999999";
    for (const reader_kind reader : {reader_kind::reference, reader_kind::fast}) {
        const auto up = read_all("0 " + above + "\n", reader, pair_format::segment);
        const auto down = read_all("0 " + below + "\n", reader, pair_format::segment);
        EXPECT_EQ(up[0].amplitude_bits, bits_of(std::nextafter(1.f, 2.f)));
        EXPECT_EQ(down[0].amplitude_bits, bits_of(1.f));
    }
    EXPECT_EQ(static_cast<float>(std::strtod(above.c_str(), nullptr)), 1.f);
    // Sixteen digits (a mantissa exact in a double) that a double rounds onto
    // the midpoint of two floats: the float is the upper one, the double's
    // nearest even float the lower one.
    const char* sixteen = "1.647665560245514";
    const float upper = 1.6476656198501587f;
    EXPECT_NE(static_cast<float>(std::strtod(sixteen, nullptr)), upper);
    for (const reader_kind reader : {reader_kind::reference, reader_kind::fast}) {
        const auto reads =
            read_all("0 " + std::string(sixteen) + "\n", reader, pair_format::segment);
        EXPECT_EQ(reads[0].amplitude_bits, bits_of(upper));
    }
}

// Read ahead, the segment reads come in order across many blocks, up to a read
// of a time alone and the end; after a failed read, reading goes on.
TEST_F(RecordScanner, ReadAheadGivesTheSameReads)
{
    std::string pairs;
    for (int i = 0; i < 40000; ++i)
        pairs += std::to_string(i) + ".5 " + std::to_string(i % 977) + "e-3\n";
    for (const std::string& record : {pairs + "7.25\n", "- " + pairs}) {
        std::vector<read_outcome> expected =
            read_all(record, reader_kind::fast, pair_format::segment, 2);
        for (read_outcome& r : expected) r.offset = 0;
        EXPECT_EQ(read_all(record, reader_kind::feed, pair_format::segment, 2), expected);
        // Taken in bulk, as a later segment takes them, 999 at a time.
        open_record_text(record);
        start_pair_feed(UINT64_MAX);
        std::vector<complex_entry> got(expected.size() + 999, complex_entry{-7.25f, 0.f});
        std::uint32_t taken = 0;
        for (std::uint32_t n = 999; n == 999;)
            taken += n = next_segment_amplitudes(&got[taken], 999);
        stop_pair_feed();
        for (std::size_t i = 0; i + 1 < expected.size() && expected[i].result == 2; ++i)
            ASSERT_EQ(bits_of(got[i].re), expected[i].amplitude_bits) << i;
        EXPECT_EQ(taken, record[0] == '-' ? 0u : expected.size() - 2);
    }
}

// After the reader thread's last read no read waits for it (an alarm ends a wait).
TEST(RecordScannerDeathTest, NoReadWaitsOnTheReaderAfterItsLastRead)
{
    const auto read_past_the_end = [] {
        alarm(5);
        open_record_text("1 2\n3");
        start_pair_feed(UINT64_MAX);
        double t;
        float a;
        const int results = next_segment_pair(&t, &a) * 10 + next_segment_pair(&t, &a);
        std::exit(results == 21 && next_segment_pair(&t, &a) == 1 ? 0 : 3);
    };
    EXPECT_EXIT(read_past_the_end(), testing::ExitedWithCode(0), "");
}

TEST_F(RecordScanner, RewindAndANewStreamStartAfresh)
{
    // Two records in turn in slot 1 (a new stream often reuses the address of
    // the one closed), each read partly, then rewound and read from the start.
    for (const char* text : {"1 2\n3 4\n5 6\n", "7 8\n9 10\n"}) {
        open_record_text(text);
        double t = 0., a = 0.;
        ASSERT_EQ(fast_scan_survey_pair(&t, &a), 2);
        EXPECT_EQ(t, text[0] - '0');
        fast_rewind_record();
        EXPECT_EQ(fast_record_offset(), 0);
        ASSERT_EQ(fast_scan_survey_pair(&t, &a), 2);
        EXPECT_EQ(t, text[0] - '0');
        EXPECT_EQ(fast_record_offset(), 3);
    }
}

TEST_F(RecordScanner, OffsetsBeyondFourGibibytes)
{
    // A sparse file whose text starts 5 GiB in: both readers start there.
    const long long start = 5LL << 30;
    const std::string text = "1.5 2.5\n3.5 -4.5e1\n  7";
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fseeko(f, start, SEEK_SET), 0);
    ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), f), text.size());
    std::vector<read_outcome> reads[2];
    for (const reader_kind reader : {reader_kind::reference, reader_kind::fast}) {
        ASSERT_EQ(fseeko(f, start, SEEK_SET), 0);
        st.fp[1] = f;
        auto& r = reads[reader == reader_kind::fast];
        do r.push_back(read_pair(reader, pair_format::survey));
        while (r.back().result == 2);
    }
    st.fp[1] = nullptr;
    std::fclose(f);
    EXPECT_EQ(reads[1], reads[0]);
    ASSERT_EQ(reads[0].size(), 3u);
    EXPECT_EQ(reads[0][2].result, 1); // the time alone is left where it starts
    EXPECT_EQ(reads[0][2].offset, start + static_cast<long long>(text.size()) - 1);
}

} // namespace
