// Reading the program's spectrum files: rows of "%10.4e %10.4e \n".
#pragma once

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

// One row of a spectrum file: frequency in Hz and the value.
struct spectrum_row {
    double f;
    double v;
};

// The rows of a spectrum file's text.
inline std::vector<spectrum_row> parse_rows(const std::string& text)
{
    std::vector<spectrum_row> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        char* end = nullptr;
        const double f = std::strtod(line.c_str(), &end);
        rows.push_back({f, std::strtod(end, nullptr)});
    }
    return rows;
}

// Number of lines that are not exactly two numbers of four decimals and a
// three-digit exponent, each followed by one blank.
inline int malformed_rows(const std::string& text)
{
    static const std::regex row(R"(-?\d\.\d{4}e[+-]\d{3} -?\d\.\d{4}e[+-]\d{3} )");
    std::istringstream in(text);
    std::string line;
    int bad = 0;
    while (std::getline(in, line)) bad += !std::regex_match(line, row);
    if (!text.empty() && text.back() != '\n') ++bad;
    return bad;
}
