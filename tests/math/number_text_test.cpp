#include "math/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

namespace {

struct NumberCase {
    const char* text;
    float value;
    std::size_t consumed;
};

TEST(ReadSingle, ReadsTheLongestDecimalPrefixRoundedOnceToFloat) {
    const NumberCase cases[] = {
        {"0", 0.0f, 1},
        {".095", 0.095f, 4},
        {"-.6", -0.6f, 3},
        {"5.", 5.0f, 2},
        {"+1", 1.0f, 2},
        {"1e", 1.0f, 1},
        {"1e+", 1.0f, 1},
        {"1E-", 1.0f, 1},
        {"1e3", 1000.0f, 3},
        {"1.5E2", 150.0f, 5},
        {"1.e5", 100000.0f, 4},
        {"007.50", 7.5f, 6},
        {"0x10", 0.0f, 1},
        {"  12.5mm", 12.5f, 6},
        {"\t\n\v\f\r 7,", 7.0f, 7},
        {"0.1", 0.1f, 3},
        {"1000.123", 1000.123f, 8},
        {"-1306.704 mm", -1306.704f, 9},
        {"3.4028235e38", FLT_MAX, 12},
        // Just above the midpoint between 1 and the next float: read through
        // double it would land on the midpoint and round down to 1.
        {"1.0000000596046447753906251", 1.0f + FLT_EPSILON, 27},
        {"1e-50", 0.0f, 5},
        {"1e-999999999999", 0.0f, 15},
        {"1e-40", std::ldexp(71362.0f, -149), 5},
        {"1e-45", std::ldexp(1.0f, -149), 5},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        float value = -99.0f;
        std::size_t consumed = 0;
        ASSERT_TRUE(readSingle(c.text, value, &consumed));
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(consumed, c.consumed);
    }
}

TEST(ReadSingle, KeepsTheSignOfZero) {
    const char* texts[] = {"-0", "-0.0e5", "-1e-50"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        float value = 1.0f;
        ASSERT_TRUE(readSingle(text, value));
        EXPECT_EQ(value, 0.0f);
        EXPECT_TRUE(std::signbit(value));
    }
}

TEST(ReadSingle, RefusesWhatIsNotAFiniteFloatAndKeepsTheValue) {
    const std::string hugeInteger = "1" + std::string(400, '0');
    const char* texts[] = {"",
                           "   ",
                           "+",
                           "-",
                           ".",
                           "-.",
                           "e5",
                           ".e5",
                           "-.e1",
                           "nan",
                           "NaN",
                           "inf",
                           "-inf",
                           "infinity",
                           "abc",
                           ",5",
                           "+-1",
                           "- 1",
                           "1e39",
                           "-1e39",
                           "1e40",
                           "3.4028236e38",
                           "1e999999999999",
                           hugeInteger.c_str()};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        float value = 42.0f;
        std::size_t consumed = 7;
        EXPECT_FALSE(readSingle(text, value, &consumed));
        EXPECT_EQ(value, 42.0f);
        EXPECT_EQ(consumed, 7u);
    }
}

TEST(ReadSingle, CopesWithHundredsOfDigits) {
    const std::string third = "0." + std::string(500, '3');
    const std::string one = "1" + std::string(300, '0') + "e-300";
    const std::string tiny = "0." + std::string(600, '0') + "1";
    const struct {
        const std::string& text;
        float value;
    } cases[] = {{third, 1.0f / 3.0f}, {one, 1.0f}, {tiny, 0.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        float value = -1.0f;
        std::size_t consumed = 0;
        ASSERT_TRUE(readSingle(c.text.c_str(), value, &consumed));
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(consumed, c.text.size());
    }
}

TEST(ReadSingle, StopsAtTheGivenLength) {
    const char digits[] = {'1', '2', '3', '4', '5'}; // no terminator
    float value = 0.0f;
    std::size_t consumed = 0;
    ASSERT_TRUE(readSingle(digits, 3, value, &consumed));
    EXPECT_EQ(value, 123.0f);
    EXPECT_EQ(consumed, 3u);

    ASSERT_TRUE(readSingle("1e5", 2, value, &consumed));
    EXPECT_EQ(value, 1.0f);
    EXPECT_EQ(consumed, 1u);

    EXPECT_FALSE(readSingle("  7", 2, value));
}

struct FixedCase {
    double value;
    FixedFormat format;
    const char* text;
};

TEST(FormatFixed, RoundsTheExactBinaryValueLikePrintf) {
    const FixedFormat two{2, 0, false};
    const FixedFormat seven{7, 0, false};
    const FixedFormat listing{3, 9, true};
    const FixedCase cases[] = {
        {-0.004, two, "-0.00"},
        {0.0, two, "0.00"},
        {0.125, two, "0.12"},
        {0.375, two, "0.38"},
        {2.675, two, "2.67"},
        {1000.1229858398438, two, "1000.12"},
        {-180.0, two, "-180.00"},
        {1.0, seven, "1.0000000"},
        {0.70710678118654757, seven, "0.7071068"},
        {1234.5, {0, 0, false}, "1234"},
        {5.0, {2, 8, false}, "    5.00"},
        {0.0, listing, "    0.000"},
        {-0.0, listing, "   -0.000"},
        {-1306.704, listing, "-1306.704"},
        {12345.678, listing, " 12345.678"},
        {-12345.678, listing, "-12345.678"},
        {961.953, listing, "  961.953"},
    };
    for (const FixedCase& c : cases) {
        SCOPED_TRACE(c.text);
        char out[64] = "garbage";
        const int length = formatFixed(c.value, c.format, out, sizeof out);
        EXPECT_STREQ(out, c.text);
        EXPECT_EQ(length, static_cast<int>(std::strlen(c.text)));
    }
}

TEST(FormatFixed, RefusesWhatDoesNotFitWithAnEmptyText) {
    const FixedFormat two{2, 0, false};
    char out[400];
    EXPECT_EQ(formatFixed(1.0, two, out, 5), 4); // "1.00" and its terminator
    EXPECT_EQ(formatFixed(1.0, two, out, 4), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(formatFixed(1.0, {2, 10, false}, out, 10), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(formatFixed(1.0, two, out, 0), -1);

    const int length = formatFixed(1e300, two, out, sizeof out);
    EXPECT_EQ(length, 304);
    EXPECT_EQ(formatFixed(1e300, two, out, 300), -1);
    EXPECT_STREQ(out, "");
}

TEST(FormatFixed, NeverWritesANumberForNanOrInfinity) {
    const double values[] = {NAN, -NAN, INFINITY, -INFINITY};
    for (double value : values) {
        SCOPED_TRACE(value);
        char out[32];
        const int length = formatFixed(value, {3, 9, true}, out, sizeof out);
        ASSERT_LT(length, 32);
        float read = 0.0f;
        EXPECT_FALSE(readSingle(out, read));
    }
}

} // namespace
