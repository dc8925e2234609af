// Whole-run fuzz target: the program runs from start to end on arbitrary
// console answers and arbitrary record bytes. An input is the answers, a NUL
// byte, then the bytes of the record file "r" (no NUL: answers only, empty
// record). Each run happens in a forked child in a scratch folder, because the
// program ends by calling exit; the child must end with exit status 1 within
// the alarm, or the fuzzer reports the input.
#include "forked_run.h"
#include "run/run.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr unsigned hang_seconds = 10; // far above any run of a fuzz-sized record
constexpr int program_status = 1;     // the program's exit status, at its end and on errors

std::string scratch; // the folder every run works in

// Removes every entry the previous run left in the scratch folder.
void empty_scratch()
{
    DIR* d = opendir(scratch.c_str());
    if (d == nullptr) std::abort();
    while (const dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        unlinkat(dirfd(d), e->d_name, 0);
    }
    closedir(d);
}

// Writes the record bytes to the file "r" of the scratch folder.
void write_record(const std::uint8_t* data, std::size_t size)
{
    const std::string path = scratch + "/r";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) std::abort();
}

// Removes the scratch folder when the fuzzer ends.
void remove_scratch()
{
    empty_scratch();
    rmdir(scratch.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp != nullptr ? tmp : "/tmp") + "/zentri_fuzz_XXXXXX";
    if (mkdtemp(templ.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratch = templ;
    std::atexit(remove_scratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* sep = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
    const std::size_t answers = sep != nullptr ? static_cast<std::size_t>(sep - data) : size;
    empty_scratch();
    if (sep != nullptr)
        write_record(sep + 1, size - answers - 1);
    else
        write_record(data, 0);
    const child_outcome outcome =
        run_in_child(data, answers, scratch.c_str(), hang_seconds, run_driver);
    require_clean_exit(outcome, program_status);
    return 0;
}
