// The scratch folder the runs of a fuzz target work in: made once under
// $TMPDIR (or /tmp), emptied before each run, removed when the fuzzer ends.
#pragma once

#include <cstddef>
#include <cstdint>

// Makes the scratch folder (once) and returns its path; aborts when it cannot.
const char* scratch_folder();

// Removes everything the previous run left in the scratch folder, folders too.
void empty_scratch_folder();

// Writes the bytes as the file of that name in the scratch folder.
void write_scratch_file(const char* name, const std::uint8_t* data, std::size_t size);
