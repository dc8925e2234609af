// The reading files of the scripted run, one row a file.
#include "output/reading_file_table.h"

#include <cstring>
#include <vector>

namespace {

// Every reading file, grouped by the result that writes it.
const std::vector<reading_file> table = {
    {1, "A_G.vrs", "response spectra: fn (Hz), VRS, Miles, ERS, the profile's VRS, ERS", "G",
     "VRS (G rms), ERS (G)"},
    {1, "A_G.fds", "fatigue damage spectrum: fn (Hz), record, profile, profile/record", "m^B",
     "damage potential (m^B)"},
    {1, "A_G.rainflow", "rainflow cycles: range, mean, count", "G", "cycles"},
    {2, "V_ips.rainflow", "rainflow cycles: range, mean, count", "in/sec", "cycles"},
    {3, "D_in.rainflow", "rainflow cycles: range, mean, count", "inch", "cycles"},
    {4, "F_lbf.rainflow", "rainflow cycles: range, mean, count", "lbf", "cycles"},
    {5, "P_psi.rainflow", "rainflow cycles: range, mean, count", "psi", "cycles"},
    {6, "V.rainflow", "rainflow cycles: range, mean, count", "V", "cycles"},
};

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
