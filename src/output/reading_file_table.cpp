// The reading files of the scripted run, one row a file.
#include "output/reading_file_table.h"
#include "output/fatigue_files.h"
#include "output/history_files.h"

#include <cstring>
#include <vector>

namespace {

// Every reading file, grouped by the result that writes it.
const std::vector<reading_file> table = [] {
    std::vector<reading_file> all;
    all.insert(all.end(), history_reading_files().begin(), history_reading_files().end());
    all.insert(all.end(), fatigue_reading_files().begin(), fatigue_reading_files().end());
    return all;
}();

} // namespace

const reading_file* reading_files(std::size_t& count)
{
    count = table.size();
    return table.data();
}

const reading_file* reading_file_named(int quantity, const char* name)
{
    for (const reading_file& f : table)
        if (f.quantity == quantity && std::strcmp(f.name, name) == 0) return &f;
    return nullptr;
}
