#include "app/text_scrambling.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr auto storedTitle = scrambleText("PoseBridge");
constexpr auto storedEmpty = scrambleText("");
constexpr auto storedLongest =
    scrambleText("0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789ABCDEF"
                 "0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789ABCDEF");
static_assert(sizeof storedLongest.bytes == 129);

template <std::size_t Size>
std::string unscrambled(const ScrambledText<Size>& stored) {
    char plain[maxScrambledLength + 1];
    const int length = unscrambleBytes(stored.bytes, plain);
    EXPECT_EQ(plain[length], '\0');
    return std::string(plain, static_cast<std::size_t>(length));
}

TEST(TextScrambling, StoredBytesHideTheTextAndReadBack) {
    EXPECT_NE(std::string(storedTitle.bytes), "PoseBridge");
    EXPECT_EQ(std::strlen(storedTitle.bytes), 10u);
    EXPECT_EQ(unscrambled(storedTitle), "PoseBridge");
    EXPECT_EQ(unscrambled(storedEmpty), "");
    EXPECT_EQ(unscrambled(storedLongest),
              "0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789ABCDEF"
              "0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789ABCDEF");
}

TEST(TextScrambling, NoAsciiCharacterScramblesToAZeroByteAtAnyPosition) {
    unsigned char key[scrambleKeyLength];
    assembleScrambleKey(key);
    for (int position = 0; position < scrambleKeyLength; ++position) {
        SCOPED_TRACE(position);
        for (int code = 1; code < 0x80; ++code) {
            ASSERT_NE(code ^ key[position], 0) << "character " << code;
        }
    }
}

TEST(TextScrambling, StoredTextsLongerThanTheKeyAreCutTo128Bytes) {
    char stored[200];
    std::memset(stored, 0x41, sizeof stored - 1);
    stored[sizeof stored - 1] = '\0';
    char plain[maxScrambledLength + 1];
    std::memset(plain, 0x7F, sizeof plain);
    EXPECT_EQ(unscrambleBytes(stored, plain), 128);
    EXPECT_EQ(plain[128], '\0');
}

} // namespace
