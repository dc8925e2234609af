// Building records and answers for end-to-end runs of the spectrum analysis,
// and reading numbers back from the console text.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Time step of the records below, seconds; times are written with three decimals.
constexpr double record_dt = 0.001;

// Time of sample i as written in a record: i milliseconds in three decimals.
inline std::string record_time(std::size_t i)
{
    char text[32];
    std::snprintf(text, sizeof text, "%zu.%03zu", i / 1000, i % 1000);
    return text;
}

// A record of the samples x[i] / divisor, one "time amplitude" pair per line,
// the amplitude written with enough digits to give back the same float.
inline std::string record_text(const std::vector<double>& x, double divisor = 1.)
{
    std::string text;
    text.reserve(x.size() * 24);
    char value[40];
    for (std::size_t i = 0; i < x.size(); ++i) {
        std::snprintf(value, sizeof value, " %.9g\n", x[i] / divisor);
        text += record_time(i) + value;
    }
    return text;
}

// The samples as the program holds them: each amplitude read into a float.
inline std::vector<double> as_read(const std::vector<double>& x, double divisor = 1.)
{
    std::vector<double> out(x.size());
    char value[40];
    for (std::size_t i = 0; i < x.size(); ++i) {
        std::snprintf(value, sizeof value, "%.9g", x[i] / divisor);
        out[i] = std::strtof(value, nullptr);
    }
    return out;
}

// The frequency resolution a run reports: 1/(m dt), so bin k lies at k/(m dt).
inline double record_df(std::size_t m)
{
    return 1. / (static_cast<double>(m) * record_dt);
}

// The answers of a run after the file name: quantity, unit (none for volts),
// samples per segment, mean removal (1 yes), window (2 Hanning), then the key.
inline std::string run_answers(int type, int unit, unsigned m, bool remove_mean, bool hanning)
{
    std::string a = std::to_string(type) + "\n";
    if (type != 6) a += std::to_string(unit) + "\n";
    a += std::to_string(m) + "\n" + (remove_mean ? "1" : "2") + "\n" + (hanning ? "2" : "1") +
         "\n\n";
    return a;
}

// The number printed after the last occurrence of label in the console text (NaN when absent).
inline double console_number(const std::string& text, const std::string& label)
{
    const std::string::size_type at = text.rfind(label);
    if (at == std::string::npos) return std::strtod("nan", nullptr);
    return std::strtod(text.c_str() + at + label.size(), nullptr);
}
