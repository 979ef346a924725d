#include "ui/dialog_template.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr unsigned char untouched = 0xCD;

// A buffer on a 4-byte boundary, filled with a marker so that skipped bytes
// can be told from written ones.
struct Buffer {
    alignas(4) unsigned char bytes[4096];
    Buffer() { std::memset(bytes, untouched, sizeof bytes); }
    std::vector<unsigned char> range(std::size_t from, std::size_t to) const {
        return {bytes + from, bytes + to};
    }
};

// The UTF-16LE bytes of an ASCII text and its terminator.
std::vector<unsigned char> utf16(const char* text) {
    std::vector<unsigned char> out;
    for (; *text != '\0'; ++text) {
        out.push_back(static_cast<unsigned char>(*text));
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

std::vector<unsigned char> join(std::initializer_list<std::vector<unsigned char>> parts) {
    std::vector<unsigned char> out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

TEST(DialogTemplateWriter, WordsAndDwordsAreLittleEndianAndAdvanceTheCursor) {
    Buffer buffer;
    TemplateCursor cursor = buffer.bytes;
    writeWord(cursor, 0xABCD);
    writeDword(cursor, 0x80C800C0u);
    writeWord(cursor, static_cast<std::uint16_t>(-20));
    ASSERT_EQ(cursor - buffer.bytes, 8);
    EXPECT_EQ(buffer.range(0, 8),
              (std::vector<unsigned char>{0xCD, 0xAB, 0xC0, 0x00, 0xC8, 0x80, 0xEC, 0xFF}));
    EXPECT_EQ(buffer.bytes[8], untouched);
}

TEST(DialogTemplateWriter, AlignmentRaisesToTheNextMultipleOfFourAndSkipsBytesUntouched) {
    const int expected[] = {0, 4, 4, 4, 4, 8, 8, 8, 8};
    for (int start = 0; start <= 8; ++start) {
        SCOPED_TRACE(start);
        Buffer buffer;
        TemplateCursor cursor = buffer.bytes + start;
        alignToDword(cursor);
        EXPECT_EQ(cursor - buffer.bytes, expected[start]);
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(buffer.bytes[i], untouched);
        }
    }
}

TEST(DialogTemplateWriter, StringsUpTo99CharactersAreCopiedLongerOnesBecomeEmpty) {
    struct Case {
        std::size_t length;
        std::size_t bytesWritten;
    };
    const Case cases[] = {
        {0, 2}, {1, 4}, {2, 6}, {98, 198}, {99, 200}, {100, 2}, {101, 2}, {250, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::wstring text;
        for (std::size_t i = 0; i < c.length; ++i) {
            text += static_cast<wchar_t>(L'a' + i % 26);
        }
        Buffer buffer;
        TemplateCursor cursor = buffer.bytes;
        writeString(cursor, text.c_str());
        ASSERT_EQ(static_cast<std::size_t>(cursor - buffer.bytes), c.bytesWritten);
        const std::size_t characters = c.bytesWritten / 2 - 1;
        for (std::size_t i = 0; i < characters; ++i) {
            EXPECT_EQ(buffer.bytes[2 * i], 'a' + i % 26);
            EXPECT_EQ(buffer.bytes[2 * i + 1], 0);
        }
        EXPECT_EQ(buffer.bytes[2 * characters], 0);
        EXPECT_EQ(buffer.bytes[2 * characters + 1], 0);
        EXPECT_EQ(buffer.bytes[c.bytesWritten], untouched);
    }
}

TEST(DialogTemplateWriter, StringsKeepTheirUtf16Units) {
    Buffer buffer;
    TemplateCursor cursor = buffer.bytes;
    writeString(cursor, L"\u00E9\u20AC");
    EXPECT_EQ(buffer.range(0, 6), (std::vector<unsigned char>{0xE9, 0x00, 0xAC, 0x20, 0, 0}));
}

TEST(DialogTemplateWriter, HeaderIsWrittenFieldByFieldWithANegativeY) {
    Buffer buffer;
    TemplateCursor cursor = buffer.bytes;
    writeDialogHeader(cursor, {25, -20, 210, 296}, L"Help", 8, L"Tahoma", 36);
    const auto expected = join({
        {0x01, 0x00, 0xFF, 0xFF}, // version 1, extended signature
        {0, 0, 0, 0},             // help identifier
        {0, 0, 0, 0},             // extended style
        {0xC0, 0x00, 0xC8, 0x80}, // WS_POPUP|WS_CAPTION|WS_SYSMENU|DS_MODALFRAME|DS_SETFONT
        {36, 0},                  // items
        {25, 0, 0xEC, 0xFF, 210, 0, 0x28, 1}, // x, y = -20, width, height 296
        {0, 0, 0, 0},                         // no menu, predefined class
        utf16("Help"),
        {8, 0, 0x90, 0x01, 0, 0}, // point size, weight 400, not italic, ANSI_CHARSET
        utf16("Tahoma"),
    });
    ASSERT_EQ(static_cast<std::size_t>(cursor - buffer.bytes), expected.size());
    EXPECT_EQ(buffer.range(0, expected.size()), expected);
}

TEST(DialogTemplateWriter, HeaderStartsOnTheNextBoundary) {
    Buffer buffer;
    TemplateCursor cursor = buffer.bytes + 2;
    writeDialogHeader(cursor, {55, 10, 114, 126}, L"About", 9, L"", 6);
    EXPECT_EQ(buffer.bytes[2], untouched);
    EXPECT_EQ(buffer.bytes[3], untouched);
    EXPECT_EQ(buffer.range(4, 8), (std::vector<unsigned char>{1, 0, 0xFF, 0xFF}));
    // 30 fixed bytes, "About" (12), font block (6), empty typeface (2).
    EXPECT_EQ(cursor - buffer.bytes, 4 + 30 + 12 + 6 + 2);
}

TEST(DialogTemplateWriter, ButtonItemIsACloseDefaultPushButton) {
    Buffer buffer;
    TemplateCursor cursor = buffer.bytes;
    writeButtonItem(cursor, 80, 270, 503);
    const auto expected = join({
        {0, 0, 0, 0, 0, 0, 0, 0},          // help id, extended style
        {0x01, 0x00, 0x00, 0x50},          // WS_CHILD|WS_VISIBLE|BS_DEFPUSHBUTTON
        {80, 0, 0x0E, 0x01, 50, 0, 16, 0}, // x, y 270, 50 x 16
        {0xF7, 0x01, 0, 0},                // id 503
        {0xFF, 0xFF, 0x80, 0x00},          // button atom
        utf16("Close"),
        {0, 0}, // no creation data
    });
    ASSERT_EQ(static_cast<std::size_t>(cursor - buffer.bytes), expected.size());
    EXPECT_EQ(buffer.range(0, expected.size()), expected);
}

TEST(DialogTemplateWriter, StaticItemStoresIdMinusOneAsAllOnes) {
    Buffer buffer;
    TemplateCursor cursor = buffer.bytes;
    writeStaticItem(cursor, {15, 11, 180, 8}, L"Hi", 0x50000101u, -1);
    const auto expected = join({
        {0, 0, 0, 0, 0, 0, 0, 0},
        {0x01, 0x01, 0x00, 0x50},
        {15, 0, 11, 0, 180, 0, 8, 0},
        {0xFF, 0xFF, 0xFF, 0xFF},
        {0xFF, 0xFF, 0x82, 0x00}, // static atom
        utf16("Hi"),
        {0, 0},
    });
    ASSERT_EQ(static_cast<std::size_t>(cursor - buffer.bytes), expected.size());
    EXPECT_EQ(buffer.range(0, expected.size()), expected);
}

// An item is 32 bytes plus 2 per character: after an odd count the next item
// skips 2 bytes to its boundary, after an even count none.
TEST(DialogTemplateWriter, ItemsAfterOddAndEvenTextsStartOnTheirBoundary) {
    const wchar_t* texts[] = {L"", L"a", L"ab", L"abc", L"abcd", L"abcde"};
    for (const wchar_t* text : texts) {
        const std::size_t length = std::wcslen(text);
        SCOPED_TRACE(length);
        Buffer buffer;
        TemplateCursor cursor = buffer.bytes;
        writeStaticItem(cursor, {1, 2, 3, 4}, text, 0x50000000u, 7);
        EXPECT_EQ(static_cast<std::size_t>(cursor - buffer.bytes), 32 + 2 * length);
        writeButtonItem(cursor, 5, 6, 8);
        const std::size_t next = 32 + 2 * length + (length % 2 == 1 ? 2 : 0);
        EXPECT_EQ(static_cast<std::size_t>(cursor - buffer.bytes), next + 32 + 2 * 5);
        EXPECT_EQ(buffer.bytes[next + 8], 0x01); // the button's style starts here
        EXPECT_EQ(buffer.bytes[next + 20], 8);   // and its identifier
        if (length % 2 == 1) {
            EXPECT_EQ(buffer.bytes[next - 1], untouched);
            EXPECT_EQ(buffer.bytes[next - 2], untouched);
        }
    }
}

} // namespace
