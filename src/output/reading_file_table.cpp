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
    const std::vector<reading_file> shock = {
        {1, "A_G.srs",
         "shock response spectrum: fn (Hz), maximax, positive, negative, primary, residual", "G",
         "SRS (G)"},
        {1, "A_ms2.srs",
         "shock response spectrum: fn (Hz), maximax, positive, negative, primary, residual",
         "m/sec^2", "SRS (m/sec^2)"},
        {1, "V_ips.pvss", "pseudo-velocity shock spectrum: fn (Hz), pseudo-velocity", "in/sec",
         "pseudo-velocity (in/sec)"},
        {1, "V_ms.pvss", "pseudo-velocity shock spectrum: fn (Hz), pseudo-velocity", "m/sec",
         "pseudo-velocity (m/sec)"},
        {1, "A_G.srs.chk",
         "SRS check: fn (Hz), requirement, inner lower and upper limits, maximax, deviation (dB)",
         "G", "SRS (G)"},
    };
    all.insert(all.end(), shock.begin(), shock.end());
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
