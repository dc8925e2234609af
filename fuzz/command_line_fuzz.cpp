// Command-line and column-layout fuzz target: the scripted run on arbitrary
// record bytes with options chosen from the input. An input is four option
// bytes, then the bytes of the record file "r":
//   byte 0  bits 0-1 the layout: --column N, --columns all, --rate alone, or
//           the plain pairs; bit 2 adds --rate to --column; bits 3-4 the
//           quantity and unit; bit 5 --survey; bit 6 --summary; bit 7
//           rectangular window and no mean removal
//   byte 1  N of --column: 1 to 8, or a wrong one (0, 1001, "2x")
//   byte 2  M of -m: a power of two from 2 to 65536, or a wrong one
//   byte 3  HZ of --rate, from a table of usual and wrong values
// Each run happens in a forked child in a scratch folder, as the program ends
// by calling exit; the child must exit with status 0, 1 or 2 within the alarm
// and without a sanitizer report, or the fuzzer reports the input.
#include "run/scripted_run.h"
#include "forked_run.h"
#include "scratch_folder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr unsigned hang_seconds = 10; // far above any run of a fuzz-sized record
constexpr std::size_t option_bytes = 4;

// Quantity and unit pairs, one per value of bits 3-4 of byte 0.
const char* const quantities[][2] = {
    {"acceleration", "G"}, {"velocity", "in/sec"}, {"force", "N"}, {"volts", "none"}};

// Values of --rate, one per value of byte 3 (modulo the count).
const char* const rates[] = {"1024", "1",  "0.5", "48000", "1e-300", "1e308",
                             "0",    "-1", "inf", "nan",   "abc",    "3e9"};

// Values of --column besides 1 to 8.
const char* const wrong_columns[] = {"0", "1001", "2x", ""};

std::vector<std::string> arguments; // the command line of the next child

// The child's body: the scripted run on the command line made for it.
void run_command_line()
{
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    scripted_run(static_cast<int>(argv.size()) - 1, argv.data());
}

// The column number chosen by byte 1.
std::string column_of(std::uint8_t b)
{
    if (b < 240) return std::to_string(1 + b % 8);
    return wrong_columns[b % 4];
}

// The samples per segment chosen by byte 2: mostly a power of two.
std::string samples_of(std::uint8_t b)
{
    if (b < 240) return std::to_string(1L << (1 + b % 16));
    return std::to_string(b); // 240 to 255: no power of two
}

// The command line the option bytes ask for.
std::vector<std::string> command_line_of(const std::uint8_t* o)
{
    const char* const* quantity = quantities[(o[0] >> 3) & 3];
    std::vector<std::string> a{"zentri",    "-q", quantity[0],     "-u",
                               quantity[1], "-m", samples_of(o[2])};
    const std::string rate = rates[o[3] % (sizeof rates / sizeof rates[0])];
    switch (o[0] & 3) {
    case 0: a.insert(a.end(), {"--column", column_of(o[1])}); break;
    case 1: a.insert(a.end(), {"--columns", "all"}); break;
    case 2: a.insert(a.end(), {"--rate", rate}); break;
    default: break;
    }
    if ((o[0] & 3) == 0 && (o[0] & 4) != 0) a.insert(a.end(), {"--rate", rate});
    if ((o[0] & 32) != 0) a.emplace_back("--survey");
    if ((o[0] & 64) != 0) a.insert(a.end(), {"--summary", "s.json"});
    if ((o[0] & 128) != 0) a.insert(a.end(), {"-w", "rectangular", "--no-mean"});
    a.emplace_back("r");
    return a;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    scratch_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < option_bytes) return 0;
    empty_scratch_folder();
    write_scratch_file("r", data + option_bytes, size - option_bytes);
    arguments = command_line_of(data);
    const child_outcome outcome =
        run_in_child(nullptr, 0, scratch_folder(), hang_seconds, run_command_line);
    require_exit_in(outcome, 0, 2);
    return 0;
}
