// Writes a record in zentri's input format.
#pragma once

#include "recipe.h"

#include <cstdio>
#include <vector>

// Writes one "time amplitude" pair per line; false when a write failed.
bool write_record(std::FILE* out, const recipe& r, const std::vector<double>& x);
