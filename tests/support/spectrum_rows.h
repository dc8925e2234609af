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

// The rows of a result file, each a list of its numbers; a blank line gives an empty row.
inline std::vector<std::vector<double>> rows_of(const std::string& text)
{
    std::vector<std::vector<double>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        rows.emplace_back();
        for (double v = 0.; fields >> v;) rows.back().push_back(v);
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
