#include "platform/console_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string fmt(const char* f, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, f);
    zformat(buf, sizeof buf, f, ap);
    va_end(ap);
    return buf;
}

TEST(ConsoleFormat, ExponentsHaveThreeDigits)
{
    EXPECT_EQ(fmt("%10.4e", 10.0), "1.0000e+001");
    EXPECT_EQ(fmt("%10.4e", 0.0), "0.0000e+000");
    EXPECT_EQ(fmt("%10.4e", -1.5e-5), "-1.5000e-005");
    EXPECT_EQ(fmt("%10.4e", 9.99995), "1.0000e+001");
    EXPECT_EQ(fmt("%10.4e", 1e-100), "1.0000e-100");
    EXPECT_EQ(fmt("%10.4e", 1e+200), "1.0000e+200");
    EXPECT_EQ(fmt("%12.6e", 1000.0), "1.000000e+003");
    EXPECT_EQ(fmt("%10.3e", 0.9775), "9.775e-001");
    EXPECT_EQ(fmt("%E", 12345.678), "1.234568E+004");
}
}
