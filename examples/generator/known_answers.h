// The results zentri should give for a generated record.
#pragma once

#include "recipe.h"

#include <cstdio>
#include <vector>

// Overall rms zentri should print, in the quantity's first unit: sines and noise
// count, the constant offset does not (zentri leaves the 0 Hz line out of it).
double expected_overall_rms(const recipe& r);

// Writes the record's known answers as text to out.
void print_known_answers(std::FILE* out, const recipe& r, const std::vector<double>& x);
