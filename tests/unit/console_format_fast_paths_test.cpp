// zformat writes integers and e, f, g conversions without snprintf where it
// can; the text must be exactly what printf writes, with the exponent widened
// to three digits and the field padded to its width.
#include "platform/console_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// zformat of one conversion.
std::string zformatted(const char* format, ...)
{
    char buf[1024];
    va_list ap;
    va_start(ap, format);
    zformat(buf, sizeof buf, format, ap);
    va_end(ap);
    return buf;
}

// What the C library writes, with a two-digit exponent widened to three.
std::string printed(const char* format, ...)
{
    char buf[1024];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    std::string text = buf;
    const char conv = format[std::strlen(format) - 1];
    const auto e = text.find_last_of("eE");
    if (conv != 'f' && conv != 'F' && e != std::string::npos && e + 4 == text.size())
        text.insert(e + 2, "0");
    return text;
}

// Doubles of every magnitude, the special values, and ties of decimal rounding.
std::vector<double> test_values()
{
    std::vector<double> v = {0.,
                             -0.,
                             1.,
                             -1.,
                             0.5,
                             2.5,
                             0.125,
                             9.99995,
                             0.9775,
                             1000.1,
                             1e-5,
                             123456.5,
                             1e21,
                             1e22,
                             DBL_MAX,
                             DBL_MIN,
                             DBL_TRUE_MIN,
                             1e300,
                             -1e-300,
                             0.1,
                             1. / 3,
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN()};
    std::uint64_t s = 0x9e3779b97f4a7c15u;
    for (int i = 0; i < 3000; ++i) {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        double d;
        std::memcpy(&d, &s, sizeof d);
        v.push_back(d);
        v.push_back(static_cast<double>(s >> 11) * std::ldexp(1., (i % 80) - 40));
    }
    return v;
}

TEST(ConsoleFormatFastPaths, FloatingConversionsAsPrintfWritesThem)
{
    const char* formats[] = {"%e",   "%E",   "%f",    "%F",    "%g",    "%G",    "%.0e",
                             "%.0f", "%.0g", "%.1g",  "%.3e",  "%.4e",  "%.4g",  "%.6e",
                             "%.5g", "%.6g", "%.10f", "%.17g", "%.17e", "%.3f",  "%.25e",
                             "%lf",  "%.4E", "%.9G",  "%#g",   "%+.3e", "% .4g", "%#.0e"};
    long compared = 0;
    for (const double v : test_values()) {
        for (const char* format : formats) {
            if (std::fabs(v) > 1e30 && format[std::strlen(format) - 1] == 'f') continue;
            ASSERT_EQ(zformatted(format, v), printed(format, v)) << format << " of " << v;
            ++compared;
        }
    }
    EXPECT_GT(compared, 150000);
}

TEST(ConsoleFormatFastPaths, WidthsAndPaddingOfTheProgramsFormats)
{
    const char* formats[] = {"%10.4e", "%9.4g",  "%12.6e", "%10.5g",  "%12.6g",  "%14.4g", "%11.4f",
                             "%11.6f", "%10.3f", "%10.3e", "%-12.3e", "%012.4e", "%-9.4g"};
    for (const double v : test_values()) {
        for (const char* format : formats) {
            if (std::fabs(v) > 1e30 && format[std::strlen(format) - 1] == 'f') continue;
            // The width applies to the widened text: pad the bare conversion ourselves.
            std::string bare = format;
            const auto digits = bare.find_first_of("123456789", 1);
            const auto dot = bare.find('.');
            const int width = std::atoi(bare.c_str() + digits);
            bare.erase(digits, dot - digits);
            std::string text = printed(bare.c_str(), v);
            const bool left = std::strchr(format, '-') != nullptr;
            const bool zeros =
                format[1] == '0' && text.find_first_of("infINF") == std::string::npos;
            while (static_cast<int>(text.size()) < width) {
                if (left)
                    text += ' ';
                else if (zeros)
                    text.insert(text[0] == '-' ? 1 : 0, "0");
                else
                    text.insert(0, " ");
            }
            ASSERT_EQ(zformatted(format, v), text) << format << " of " << v;
        }
    }
}

TEST(ConsoleFormatFastPaths, IntegersAsPrintfWritesThem)
{
    const long values[] = {0,
                           1,
                           -1,
                           7,
                           10,
                           99,
                           100,
                           1024,
                           65536,
                           -65536,
                           99999998,
                           2147483647,
                           -2147483647 - 1,
                           9223372036854775807L,
                           -9223372036854775807L - 1};
    for (const long v : values) {
        const int i = static_cast<int>(v);
        const unsigned long u = static_cast<unsigned long>(v);
        EXPECT_EQ(zformatted("%ld", v), printed("%ld", v));
        EXPECT_EQ(zformatted("%d", i), printed("%d", i));
        EXPECT_EQ(zformatted("%i", i), printed("%i", i));
        EXPECT_EQ(zformatted("%5d", i), printed("%5d", i));
        EXPECT_EQ(zformatted("%-6ld|", v), printed("%-6ld|", v));
        EXPECT_EQ(zformatted("%08ld", v), printed("%08ld", v));
        EXPECT_EQ(zformatted("%+ld", v), printed("%+ld", v));
        EXPECT_EQ(zformatted("%.3d", i), printed("%.3d", i));
        EXPECT_EQ(zformatted("%lu", u), printed("%lu", u));
        EXPECT_EQ(zformatted("%lx", u), printed("%lx", u));
        EXPECT_EQ(zformatted("%lX", u), printed("%lX", u));
        EXPECT_EQ(zformatted("\n i=%ld / %ld ", v, v), printed("\n i=%ld / %ld ", v, v));
    }
}

} // namespace
