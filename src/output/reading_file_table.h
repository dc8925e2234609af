// The table of the scripted run's reading files (shock, time history, response
// and fatigue results), beside the dialogue's file sets: per file its quantity,
// name, content, unit and picture label. --file-table prints it, so the
// pictures and the summary's file entries read every file from one place.
#pragma once

#include <cstddef>

// One reading file of a quantity.
struct reading_file {
    int quantity;        // input_type 1..6 whose records write it
    const char* name;    // "A_G.srs"
    const char* content; // what its rows hold: "shock response spectrum"
    const char* unit;    // the unit of its values: "G"
    const char* label;   // the value axis of its picture: "SRS (G)"
};

// The reading files of every quantity, in the order --file-table prints them.
const reading_file* reading_files(std::size_t& count);

// The reading file of the quantity with that name, or nullptr.
const reading_file* reading_file_named(int quantity, const char* name);
