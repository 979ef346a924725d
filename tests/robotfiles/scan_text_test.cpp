// The file readers' number reader takes a quick path for short numbers; it
// must give what the window's reader gives, bit for bit, in every case.

#include "math/number_text.h"
#include "robotfiles/scan_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(ScanText, NumbersReadAsTheWindowReadsThem) {
    const char* texts[] = {"0",         "-0",        "+5",       "9E+09",     "9E9",
                           "9e09,",     "1e",        "1e+]",     "1E-3",      "12.5",
                           "-120.25",   "0.0436194", "1.",       ".5",        "-.5e1",
                           "1.2.3",     "0.1",       "123.4567", "16777216",  "16777217",
                           "167772170", "007",       "1E10",     "1E11",      "1.5e-10",
                           "1.5e-11",   "1e005",     "3e38",     "4e38",      "0.00000000001",
                           "-",         "+",         "",         " 1",        "abc",
                           "9E+09 ]",   "-0.0",      "99999.99", "1677721.7", "2.7182818"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        float expected = 7.0f;
        float value = 7.0f;
        std::size_t expectedLength = 0;
        std::size_t length = 0;
        // The window's reader skips leading blanks; a file's number starts at its first byte.
        const bool read =
            text[0] != ' ' && readSingle(text, std::strlen(text), expected, &expectedLength);
        ASSERT_EQ(readNumberAt(text, 0, value, length), read);
        if (read) {
            EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << value;
            EXPECT_EQ(length, expectedLength);
        }
    }
}

// Printing takes a quick path for short decimals; it must give what
// to_chars gives, character for character.
TEST(ScanText, ShortestFloatIsWhatToCharsWrites) {
    std::mt19937 random(2026);
    std::uniform_int_distribution<long> digits(0, 99999999);
    std::uniform_int_distribution<int> decimals(0, 7);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::vector<float> values = {0.0f, -0.0f, 0.001f,  0.000999f, 99999.99f,   100000.0f,
                                 1e6f, 0.5f,  -0.604f, 1234.567f, 16777216.0f, 0.1f};
    for (int i = 0; i < 100000; ++i) {
        values.push_back(static_cast<float>(static_cast<double>(digits(random)) /
                                            std::pow(10.0, decimals(random))));
        const std::uint32_t word = bits(random);
        float any = 0.0f;
        std::memcpy(&any, &word, sizeof any);
        if (std::isfinite(any)) {
            values.push_back(any);
        }
    }
    for (float value : values) {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value);
        ASSERT_EQ(shortestFloat(value), std::string(buffer, end.ptr));
    }
}

} // namespace
