// The reader of plain pairs this executable was built with.
#pragma once

#include "input/record_reader.h"

// The fast scanner in zentri, the reference reader in zentri_ref
// (pair_reader_choice.cpp, the one file compiled for each of them).
const record_reader& pair_reader();
