// A tolerance band in decibels, LOW:HIGH (LOW at most 0, HIGH at least 0), or
// DB meaning -DB:+DB, as the profile checks take it.
#pragma once

#include <string>

// The band, or the fault of the text.
struct decibel_tolerance {
    double low;        // dB, at most 0
    double high;       // dB, at least 0
    std::string error; // what is wrong with the text, "" when it was read
};

// Reads "LOW:HIGH" or "DB".
decibel_tolerance read_decibel_tolerance(const std::string& text);
