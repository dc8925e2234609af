// zformat against the C library's printf: every conversion, exponents widened to three digits.
#include "platform/console_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// zformat of a format and its arguments.
std::string fmt(const char* f, ...)
{
    char buf[1024];
    va_list ap;
    va_start(ap, f);
    zformat(buf, sizeof buf, f, ap);
    va_end(ap);
    return buf;
}

const double inf = std::numeric_limits<double>::infinity();
const double nan_pos = std::numeric_limits<double>::quiet_NaN();
const double nan_neg = std::copysign(nan_pos, -1.);

// One floating-point conversion: format, value, the exact text expected.
struct float_case {
    const char* format;
    double value;
    const char* text;
};

// Every floating-point format the program prints. The expected texts are the C
// library's printf output with the exponent widened to three digits and the
// field width applied afterwards (longer texts are written whole).
const float_case float_cases[] = {
    // result-file column and "%10.4e" in general
    {"%10.4e", 10.0, "1.0000e+001"},
    {"%10.4e", 0.0, "0.0000e+000"},
    {"%10.4e", -0.0, "-0.0000e+000"},
    {"%10.4e", -1.5e-5, "-1.5000e-005"},
    {"%10.4e", 9.99995, "1.0000e+001"}, // rounds up into the next decade
    {"%10.4e", -9.99995, "-1.0000e+001"},
    {"%10.4e", 1e-100, "1.0000e-100"},
    {"%10.4e", 1e+200, "1.0000e+200"},
    {"%10.4e", 2.5e-310, "2.5000e-310"}, // subnormal
    {"%10.4e", inf, "       inf"},
    {"%10.4e", -inf, "      -inf"},
    {"%10.4e", nan_pos, "       nan"},
    {"%10.4e", nan_neg, "      -nan"},
    // statistics "%9.4g": fixed style while the exponent is -4..3, else exponent style
    {"%9.4g", 0.01216, "  0.01216"},
    {"%9.4g", 0.0001, "   0.0001"},
    {"%9.4g", 1e-5, "   1e-005"},
    {"%9.4g", 1234.56, "     1235"},
    {"%9.4g", 999.95, "     1000"},
    {"%9.4g", 9999.5, "   1e+004"},    // rounding carries it into exponent style
    {"%9.4g", 123456.0, "1.235e+005"}, // 10 characters in a field of 9
    {"%9.4g", -0.5, "     -0.5"},
    {"%9.4g", -0.0, "       -0"},
    {"%9.4g", 1e100, "   1e+100"},
    {"%9.4g", inf, "      inf"},
    {"%9.4g", nan_neg, "     -nan"},
    // first-segment "dt = %10.5g"
    {"%10.5g", 0.001, "     0.001"},
    {"%10.5g", 0.00001, "    1e-005"},
    {"%10.5g", 0.000099999, "9.9999e-005"},
    {"%10.5g", 123456.7, "1.2346e+005"},
    {"%10.5g", -2.5e-7, " -2.5e-007"},
    // "sr= %12.6e"
    {"%12.6e", 1000.0, "1.000000e+003"},
    {"%12.6e", -1000.1, "-1.000100e+003"},
    {"%12.6e", 0.0, "0.000000e+000"},
    {"%12.6e", inf, "         inf"},
    // "time span= %12.6g"
    {"%12.6g", 0.0, "           0"},
    {"%12.6g", 1.023, "       1.023"},
    {"%12.6g", 999999.4, "      999999"},
    {"%12.6g", 999999.6, "      1e+006"},
    {"%12.6g", -0.000123, "   -0.000123"},
    {"%12.6g", -inf, "        -inf"},
    // "delta f= %14.4g"
    {"%14.4g", 1. / 1.023, "        0.9775"},
    {"%14.4g", 1e10, "        1e+010"},
    {"%14.4g", nan_pos, "           nan"},
    // summary "df = %10.3e", "overall rms = %10.3e"
    {"%10.3e", 1. / 1.023, "9.775e-001"},
    {"%10.3e", -1.0, "-1.000e+000"},
    {"%10.3e", 1e-100, "1.000e-100"},
    {"%10.3e", -inf, "      -inf"},
    // survey table "%10.3f", "%10.4f" and header "%11.4f", "%11.6f", "%11.3f"
    {"%10.3f", 1. / (8 * 0.0009999), "   125.013"},
    {"%10.3f", -1.5, "    -1.500"},
    {"%10.3f", 1e10, "10000000000.000"},
    {"%10.3f", nan_neg, "      -nan"},
    {"%10.4f", 8192 * 0.0009999, "    8.1912"},
    {"%10.4f", 0.0, "    0.0000"},
    {"%11.4f", 9.999, "     9.9990"},
    {"%11.4f", -123.45678, "  -123.4568"},
    {"%11.6f", 0.0009999, "   0.001000"},
    {"%11.6f", inf, "        inf"},
    {"%11.3f", 1. / 0.0009999, "   1000.100"},
    // survey "time %lf to %lf sec"
    {"%lf", 9.999, "9.999000"},
    {"%lf", -3.5, "-3.500000"},
    {"%lf", 0.0, "0.000000"},
    {"%lf", 1e20, "100000000000000000000.000000"},
    {"%lf", -inf, "-inf"},
};

TEST(ConsoleFormat, EveryFloatingFormatMatchesTheTable)
{
    for (const float_case& c : float_cases)
        EXPECT_EQ(fmt(c.format, c.value), c.text) << c.format << " of " << c.value;
}

// The square root of a negative number gives a NaN with its sign bit set here.
TEST(ConsoleFormat, SquareRootOfNegativePrintsMinusNan)
{
    volatile double negative = -1.0;
    const double root = std::sqrt(negative);
    ASSERT_TRUE(std::isnan(root));
    EXPECT_EQ(fmt("%9.4g", root), std::signbit(root) ? "     -nan" : "      nan");
}

TEST(ConsoleFormat, IntegersAndTexts)
{
    EXPECT_EQ(fmt("%ld", 65536L), "65536");
    EXPECT_EQ(fmt("%ld", -5L), "-5");
    EXPECT_EQ(fmt("%ld", LONG_MAX), "9223372036854775807");
    EXPECT_EQ(fmt("%ld", 0L), "0");
    EXPECT_EQ(fmt("%d", 1024), "1024");
    EXPECT_EQ(fmt("%d", INT_MIN), "-2147483648");
    EXPECT_EQ(fmt(" File: %s opened. \n", "rec.txt"), " File: rec.txt opened. \n");
    EXPECT_EQ(fmt("%s", ""), "");
    EXPECT_EQ(fmt("100%% of %s", "it"), "100% of it");
}

// Whole message formats as the program uses them, several conversions in one.
TEST(ConsoleFormat, MessageLines)
{
    EXPECT_EQ(fmt("\n %ld\t%10.3f\t%ld\t   %ld\t   %ld\t%10.4f  %10.4f", 1L,
                  1. / (8192 * 0.0009999), 8192L, 1L, 2L, 8192 * 0.0009999, 0.9051),
              "\n 1\t     0.122\t8192\t   1\t   2\t    8.1912      0.9051");
    EXPECT_EQ(fmt("%10.4e %10.4e \n", 0.9775, 1.25e-12), "9.7750e-001 1.2500e-012 \n");
    EXPECT_EQ(fmt("\n dt = %10.5g sec  sr= %12.6e samples/sec", 0.001, 1000.0),
              "\n dt =      0.001 sec  sr= 1.000000e+003 samples/sec");
    EXPECT_EQ(fmt("\n   ns=%ld  nhs=%ld ", 272L, 512L), "\n   ns=272  nhs=512 ");
    EXPECT_EQ(fmt("\n m=%d ", 1024), "\n m=1024 ");
}

// A JSON text's exponents get three digits; the same text inside a string stays.
TEST(ConsoleFormat, JsonExponentsWidenedOutsideStrings)
{
    EXPECT_EQ(
        widen_json_exponents(R"({"a":1e-05,"s":"1e-05 \"2e+07","b":[-2.5E+20,1e+300],"t":true})"),
        R"({"a":1e-005,"s":"1e-05 \"2e+07","b":[-2.5E+020,1e+300],"t":true})");
}

// A buffer too small keeps a terminated prefix; the full length is still reported.
TEST(ConsoleFormat, ShortBufferIsTruncatedAndTerminated)
{
    char buf[8];
    auto call = [&](const char* f, ...) {
        va_list ap;
        va_start(ap, f);
        const std::size_t n = zformat(buf, sizeof buf, f, ap);
        va_end(ap);
        return n;
    };
    EXPECT_EQ(call("%10.4e", 1.0), 11u);
    EXPECT_STREQ(buf, "1.0000e");
}

// Beyond the table: zformat must write exactly what printf writes, with the
// exponent widened to three digits and the field padded to its width.

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

// printf's text with the field width applied after widening the exponent.
std::string printed_padded(const char* format, double v)
{
    std::string bare = format;
    const auto digits = bare.find_first_of("123456789", 1);
    const int width = std::atoi(bare.c_str() + digits);
    bare.erase(digits, bare.find('.') - digits);
    std::string text = printed(bare.c_str(), v);
    const bool left = std::strchr(format, '-') != nullptr;
    const bool zeros = format[1] == '0' && text.find_first_of("infINF") == std::string::npos;
    while (static_cast<int>(text.size()) < width) {
        if (left)
            text += ' ';
        else if (zeros)
            text.insert(text[0] == '-' ? 1 : 0, "0");
        else
            text.insert(0, " ");
    }
    return text;
}

// Doubles of every magnitude, the special values, and ties of decimal rounding.
std::vector<double> test_values()
{
    const double specials[] = {0.,      -0.,     1.,           -1.,     0.5,      2.5,  0.125,
                               9.99995, 0.9775,  1000.1,       1e-5,    123456.5, 1e21, 1e22,
                               DBL_MAX, DBL_MIN, DBL_TRUE_MIN, 1e300,   -1e-300,  0.1,  1. / 3,
                               inf,     -inf,    nan_pos,      -nan_pos};
    std::vector<double> v(std::begin(specials), std::end(specials));
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

// Calls check(format, v) for every test value and format, but %f only up to 1e30,
// until a check fails; returns the number of passed checks.
template <class Check>
long for_each_conversion(const std::vector<const char*>& formats, Check check)
{
    long compared = 0;
    for (const double v : test_values())
        for (const char* format : formats) {
            if (std::fabs(v) > 1e30 && format[std::strlen(format) - 1] == 'f') continue;
            check(format, v);
            if (testing::Test::HasFatalFailure()) return compared;
            ++compared;
        }
    return compared;
}

TEST(ConsoleFormat, FloatingConversionsAsPrintfWritesThem)
{
    const long compared = for_each_conversion(
        {"%e",    "%E",   "%f",   "%F",   "%g",   "%G",    "%.0e",  "%.0f",  "%.0g",  "%.1g",
         "%.3e",  "%.4e", "%.4g", "%.6e", "%.5g", "%.6g",  "%.10f", "%.17g", "%.17e", "%.3f",
         "%.25e", "%lf",  "%.4E", "%.9G", "%#g",  "%+.3e", "% .4g", "%#.0e"},
        [](const char* format, double v) {
            ASSERT_EQ(fmt(format, v), printed(format, v)) << format << " of " << v;
        });
    EXPECT_GT(compared, 150000);
}

TEST(ConsoleFormat, WidthsAndPaddingOfTheProgramsFormats)
{
    for_each_conversion({"%10.4e", "%9.4g", "%12.6e", "%10.5g", "%12.6g", "%14.4g", "%11.4f",
                         "%11.6f", "%10.3f", "%10.3e", "%-12.3e", "%012.4e", "%-9.4g"},
                        [](const char* format, double v) {
                            ASSERT_EQ(fmt(format, v), printed_padded(format, v))
                                << format << " of " << v;
                        });
}

TEST(ConsoleFormat, IntegersAsPrintfWritesThem)
{
    const long values[] = {0,     1,      -1,       7,       10,      99,       100,     1024,
                           65536, -65536, 99999998, INT_MAX, INT_MIN, LONG_MAX, LONG_MIN};
    for (const long v : values) {
        const int i = static_cast<int>(v);
        const unsigned long u = static_cast<unsigned long>(v);
        SCOPED_TRACE(v);
        for (const char* f : {"%ld", "%-6ld|", "%08ld", "%+ld"})
            EXPECT_EQ(fmt(f, v), printed(f, v)) << f;
        for (const char* f : {"%d", "%i", "%5d", "%.3d"}) EXPECT_EQ(fmt(f, i), printed(f, i)) << f;
        for (const char* f : {"%lu", "%lx", "%lX"}) EXPECT_EQ(fmt(f, u), printed(f, u)) << f;
        EXPECT_EQ(fmt("\n i=%ld / %ld ", v, v), printed("\n i=%ld / %ld ", v, v));
    }
}

} // namespace
