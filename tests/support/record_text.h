// Input records written as text for the tests, with times given exactly in decimal.
#pragma once

#include <cstdio>
#include <string>

// Time i/10^decimals written exactly, e.g. 9999 with 3 decimals gives "9.999".
inline std::string decimal_time(long i, int decimals)
{
    long scale = 1;
    for (int d = 0; d < decimals; ++d) scale *= 10;
    char text[48];
    if (decimals == 0)
        std::snprintf(text, sizeof text, "%ld", i);
    else
        std::snprintf(text, sizeof text, "%ld.%0*ld", i / scale, decimals, i % scale);
    return text;
}

// Amplitude of pair i in the records below: a small integer pattern, exact in float.
inline int pattern_amplitude(long i)
{
    return static_cast<int>(i % 7) - 3;
}

// n pairs, one per line: time i/10^decimals, amplitude pattern_amplitude(i).
inline std::string even_record(long n, int decimals)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(n) * 16);
    for (long i = 0; i < n; ++i)
        text += decimal_time(i, decimals) + " " + std::to_string(pattern_amplitude(i)) + "\n";
    return text;
}
