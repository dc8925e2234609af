// Numbers in the shortest text that reads back to the same double, for the
// full-precision table. This is std::to_chars's shortest round-trip form
// ("159.2", "1e-05", "0.30000000000000004"), not a printf exponent form, so the
// three-digit exponent of the program's printed numbers does not apply to it:
// its readers (spreadsheets, pandas) take the exponent as it is.
#pragma once

#include <string>

// The shortest text of v that reads back to v ("nan" and "inf" as to_chars writes them).
std::string shortest_text(double v);
