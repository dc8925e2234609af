// The scratch folder of a fuzz target's runs: making, emptying and removing it.
#include "scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <string>
#include <unistd.h>

namespace {

std::string scratch; // the folder's path, "" until made

// Removes one entry of a tree walked depth first (its contents come before it).
int remove_entry(const char* path, const struct stat* /*info*/, int /*kind*/, FTW* /*walk*/)
{
    std::remove(path);
    return 0;
}

// Removes an entry below the top of the tree walked, leaving the top.
int remove_inner_entry(const char* path, const struct stat* info, int kind, FTW* walk)
{
    return walk->level > 0 ? remove_entry(path, info, kind, walk) : 0;
}

// Removes the scratch folder when the fuzzer ends.
void remove_scratch()
{
    nftw(scratch.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

} // namespace

const char* scratch_folder()
{
    if (!scratch.empty()) return scratch.c_str();
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp != nullptr ? tmp : "/tmp") + "/zentri_fuzz_XXXXXX";
    if (mkdtemp(templ.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratch = templ;
    std::atexit(remove_scratch);
    return scratch.c_str();
}

void empty_scratch_folder()
{
    nftw(scratch.c_str(), remove_inner_entry, 16, FTW_DEPTH | FTW_PHYS);
}

void write_scratch_file(const char* name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = scratch + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) std::abort();
}
