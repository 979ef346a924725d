#include "ui/help_template.h"

#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "template_reader.h"

namespace {

std::wstring blanks(std::size_t count) {
    return std::wstring(count, L' ');
}

struct HelpLine {
    int y;
    std::wstring text;
};

// The Help page as users know it; the blanks are counted out so a lost or
// added blank shows.
const std::wstring matrixFrame = blanks(3) + L"[" + blanks(1) + L"[" + blanks(10) + L"]" +
                                 blanks(1) + L"[" + blanks(4) + L"]" + blanks(1) + L"]";
const std::vector<HelpLine> expectedLines = {
    {11, L"This application is a matrix calculator designed for robot"},
    {20, L"programmers. It allows you to convert between different"},
    {29, L"transformation notations and to do basic operations."},
    {38, L" "},
    {40, L"Import from:"},
    {49, L"ABB/KUKA/FANUC - reads the transformation from"},
    {58, blanks(3) + L"respective fields"},
    {67, L" "},
    {69, L"Matrix - reads the transformation matrix from its input fields"},
    {78, matrixFrame},
    {87, blanks(3) + L"[" + blanks(1) + L"[" + blanks(3) + L"R" + blanks(4) + L"]" + blanks(1) +
             L"[" + blanks(1) + L"T" + blanks(1) + L"]" + blanks(1) + L"]"},
    {96, matrixFrame},
    {105, blanks(3) + L"[" + blanks(2) + L"0" + blanks(2) + L"0" + blanks(2) + L"0" + blanks(4) +
              L"1" + blanks(3) + L"]"},
    {114, blanks(3) + L"where R is rotation matrix and T is translation vector"},
    {123, L" "},
    {125, L"Clipboard - tries to parse text in clipboard as FRAME,"},
    {134, blanks(3) + L"POS, E6POS, pose, robtarget, wobjdata or tooldata"},
    {143, blanks(3) + L"NOTE: if parsing wobjdata, the complete transformation"},
    {152, blanks(3) + L"is read i.e. uframe : oframe"},
    {161, L" "},
    {163, L"Operations:"},
    {172, L"Save/Clear A/B - saves parsed transformation or result in"},
    {181, blanks(3) + L"respective memory slot/clears the memory slot"},
    {190, L" "},
    {192, L"Invert - inverts current transformation"},
    {201, L" "},
    {203, L"A : B - multiplies transformations saved in slots A and B,"},
    {212, blanks(3) + L"A : B" + blanks(23) + L"(KUKA)"},
    {221, blanks(3) + L"PoseMult(A, B)" + blanks(10) + L"(ABB)"},
    {230, L" "},
    {232, L"Copy to clipboard:"},
    {241, L"copies the resulting frame/pose to clipboard in respective"},
    {250, L"data format"},
    {259, L" "},
    {261, L""},
};

TEST(HelpTemplate, HeaderPlacesThePageAboveTheClientArea) {
    TemplateBuffer buffer;
    buildHelpTemplate(buffer, L"Tahoma");
    TemplateReader reader{buffer.bytes};
    const TemplateHeader h = readHeader(reader);
    EXPECT_EQ(h.version, 1);
    EXPECT_EQ(h.signature, 0xFFFF);
    EXPECT_EQ(h.helpId, 0u);
    EXPECT_EQ(h.exStyle, 0u);
    EXPECT_EQ(h.style, 0x80C800C0u);
    EXPECT_EQ(h.itemCount, 36);
    EXPECT_EQ(h.x, 25);
    EXPECT_EQ(h.y, 0xFFEC); // -20
    EXPECT_EQ(h.width, 210);
    EXPECT_EQ(h.height, 296);
    EXPECT_EQ(h.menu, 0);
    EXPECT_EQ(h.windowClass, 0);
    EXPECT_EQ(h.title, L"Help");
    EXPECT_EQ(h.pointSize, 8);
    EXPECT_EQ(h.weight, 400);
    EXPECT_EQ(h.italic, 0);
    EXPECT_EQ(h.charset, 0);
    EXPECT_EQ(h.typeface, L"Tahoma");
}

TEST(HelpTemplate, CloseButtonComesFirstWhereTheNextLineWouldStand) {
    TemplateBuffer buffer;
    buildHelpTemplate(buffer, L"Tahoma");
    TemplateReader reader{buffer.bytes};
    readHeader(reader);
    const TemplateItem close = readItem(reader);
    EXPECT_EQ(close.style, 0x50000001u);
    EXPECT_EQ(close.x, 80);
    EXPECT_EQ(close.y, 270);
    EXPECT_EQ(close.width, 50);
    EXPECT_EQ(close.height, 16);
    EXPECT_EQ(close.id, 503u);
    EXPECT_EQ(close.classMarker, 0xFFFF);
    EXPECT_EQ(close.classAtom, 0x0080);
    EXPECT_EQ(close.text, L"Close");
    EXPECT_EQ(close.creationDataSize, 0);
}

TEST(HelpTemplate, ThirtyFiveLinesWithTheirExactTextsAndPositions) {
    TemplateBuffer buffer;
    const std::size_t size = buildHelpTemplate(buffer, L"Tahoma");
    TemplateReader reader{buffer.bytes};
    readHeader(reader);
    readItem(reader);
    ASSERT_EQ(expectedLines.size(), 35u);
    for (std::size_t i = 0; i < expectedLines.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        const TemplateItem line = readItem(reader);
        EXPECT_EQ(line.offset % 4, 0u);
        EXPECT_EQ(line.helpId, 0u);
        EXPECT_EQ(line.exStyle, 0u);
        EXPECT_EQ(line.style, 0x50000000u);
        EXPECT_EQ(line.x, 15);
        EXPECT_EQ(line.y, expectedLines[i].y);
        EXPECT_EQ(line.width, 180);
        EXPECT_EQ(line.height, 8);
        EXPECT_EQ(line.id, 0xFFFFFFFFu);
        EXPECT_EQ(line.classMarker, 0xFFFF);
        EXPECT_EQ(line.classAtom, 0x0082);
        EXPECT_EQ(line.text, expectedLines[i].text);
        EXPECT_EQ(line.creationDataSize, 0);
    }
    EXPECT_EQ(reader.offset, size);
}

TEST(HelpTemplate, TypefaceOf99CharactersFitsTheBufferAndLongerOnesAreDropped) {
    for (std::size_t length : {std::size_t{0}, std::size_t{99}, std::size_t{100}}) {
        SCOPED_TRACE(length);
        const std::wstring face(length, L'W');
        TemplateBuffer buffer;
        const std::size_t size = buildHelpTemplate(buffer, face.c_str());
        TemplateReader reader{buffer.bytes};
        const TemplateHeader h = readHeader(reader);
        EXPECT_EQ(h.typeface, length < 100 ? face : std::wstring());
        readItems(reader, h.itemCount);
        EXPECT_EQ(reader.offset, size);
        EXPECT_LE(size, templateBufferSize);
    }
}

} // namespace
