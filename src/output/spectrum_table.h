// The full-precision table, spectrum.csv: a header naming each column and its
// unit, then one row per bin, 0 Hz to (m/2 - 1) df: the frequency and the value
// of every PSD and magnitude file of each quantity given (the record's, then
// those derived from it), the same values the files hold to four decimals,
// here each in the shortest text that reads back to the same double.
#pragma once

#include "readings/psd_view.h"

#include <cstdio>
#include <vector>

constexpr const char* table_name = "spectrum.csv";

// Writes the table of the views (every one of the same m and df); false when a write failed.
bool write_spectrum_table(std::FILE* f, const std::vector<psd_view>& views);
