// Whole-run fuzz target: the program runs from start to end on arbitrary
// console answers and arbitrary record bytes. An input is the answers, a NUL
// byte, then the bytes of the record file "r" (no NUL: answers only, empty
// record). Each run happens in a forked child in a scratch folder, because the
// program ends by calling exit; the child must end with exit status 1 within
// the alarm, or the fuzzer reports the input.
#include "forked_run.h"
#include "scratch_folder.h"
#include "run/run_driver.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned hang_seconds = 10; // far above any run of a fuzz-sized record
constexpr int program_status = 1;     // the program's exit status, at its end and on errors

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    scratch_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* sep = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
    const std::size_t answers = sep != nullptr ? static_cast<std::size_t>(sep - data) : size;
    empty_scratch_folder();
    if (sep != nullptr)
        write_scratch_file("r", sep + 1, size - answers - 1);
    else
        write_scratch_file("r", data, 0);
    const child_outcome outcome =
        run_in_child(data, answers, scratch_folder(), hang_seconds, run_driver);
    require_clean_exit(outcome, program_status);
    return 0;
}
