#include "notation/narrow_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string narrowed(const std::wstring& text) {
    char buffer[narrowBufferSize];
    std::memset(buffer, '#', sizeof buffer);
    narrowText(text.c_str(), buffer);
    EXPECT_EQ(buffer[narrowBufferSize - 1], '\0');
    return buffer;
}

TEST(NarrowText, KeepsAsciiAndCutsAfter511Bytes) {
    std::wstring printable;
    for (wchar_t unit = L' '; unit < 127; ++unit) {
        printable += unit;
    }
    std::string printableNarrow;
    for (char unit = ' '; unit < 127; ++unit) {
        printableNarrow += unit;
    }
    std::wstring longText;
    std::string longNarrow;
    for (int i = 0; i < 700; ++i) {
        longText += static_cast<wchar_t>(L'a' + i % 26);
        longNarrow += static_cast<char>('a' + i % 26);
    }
    const struct {
        std::wstring text;
        std::string narrow;
    } cases[] = {
        {L"", ""},
        {L"{X 1, Y 2}\r\n\t", "{X 1, Y 2}\r\n\t"},
        {printable, printableNarrow},
        {longText.substr(0, 510), longNarrow.substr(0, 510)},
        {longText.substr(0, 511), longNarrow.substr(0, 511)},
        {longText.substr(0, 512), longNarrow.substr(0, 511)},
        {longText, longNarrow.substr(0, 511)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        EXPECT_EQ(narrowed(c.text), c.narrow);
    }
}

TEST(NarrowText, CutsLongTextWithOtherCharactersWithinTheBuffer) {
    // Every code page narrows these, one or two bytes each, or replaces them.
    const std::wstring text = L"{X 1}" + std::wstring(600, L'\u00e9') + L"}";
    const std::string result = narrowed(text);
    EXPECT_EQ(result.substr(0, 5), "{X 1}");
    EXPECT_GE(result.size(), 500u);
    EXPECT_LE(result.size(), 511u);
    EXPECT_EQ(result.find('}', 5), std::string::npos);
}

#ifndef _WIN32
TEST(NarrowText, ReplacesEveryNonAsciiUnitByOneQuestionMark) {
    const struct {
        const wchar_t* text;
        const char* narrow;
    } cases[] = {
        {L"caf\u00e9 {X 1}", "caf? {X 1}"},
        {L"\u20ac\u00ff\u0080", "???"},
        {L"\xd83d\xde00", "??"}, // one character outside the BMP, as two UTF-16 units
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.narrow);
        EXPECT_EQ(narrowed(c.text), c.narrow);
    }
}
#endif

} // namespace
