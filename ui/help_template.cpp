#include "ui/help_template.h"

#include <cstddef>
#include <cstdint>

namespace {

// Three leading blanks indent a line under its heading; the blanks inside the
// matrix picture and the command examples line up the columns.
constexpr const wchar_t* lines[helpLineCount] = {
    L"This application is a matrix calculator designed for robot",
    L"programmers. It allows you to convert between different",
    L"transformation notations and to do basic operations.",
    L" ",
    L"Import from:",
    L"ABB/KUKA/FANUC - reads the transformation from",
    L"   respective fields",
    L" ",
    L"Matrix - reads the transformation matrix from its input fields",
    L"   [ [          ] [    ] ]",
    L"   [ [   R    ] [ T ] ]",
    L"   [ [          ] [    ] ]",
    L"   [  0  0  0    1   ]",
    L"   where R is rotation matrix and T is translation vector",
    L" ",
    L"Clipboard - tries to parse text in clipboard as FRAME,",
    L"   POS, E6POS, pose, robtarget, wobjdata or tooldata",
    L"   NOTE: if parsing wobjdata, the complete transformation",
    L"   is read i.e. uframe : oframe",
    L" ",
    L"Operations:",
    L"Save/Clear A/B - saves parsed transformation or result in",
    L"   respective memory slot/clears the memory slot",
    L" ",
    L"Invert - inverts current transformation",
    L" ",
    L"A : B - multiplies transformations saved in slots A and B,",
    L"   A : B                       (KUKA)",
    L"   PoseMult(A, B)          (ABB)",
    L" ",
    L"Copy to clipboard:",
    L"copies the resulting frame/pose to clipboard in respective",
    L"data format",
    L" ",
    L"",
};

constexpr DialogRect helpDialog = {25, -20, 210, 296};
constexpr int helpPointSize = 8;
constexpr int lineX = 15;
constexpr int lineWidth = 180;
constexpr int lineHeight = 8;
constexpr int firstLineY = 11;
constexpr std::uint32_t lineStyle = 0x50000000u; // WS_CHILD | WS_VISIBLE, left-aligned

constexpr std::size_t textLength(const wchar_t* text) {
    std::size_t length = 0;
    while (text[length] != L'\0') {
        ++length;
    }
    return length;
}

// A line of a single blank is a narrow gap between paragraphs; every other
// line, the empty last one too, takes a full line's height.
constexpr int lineAdvance(const wchar_t* text) {
    return textLength(text) == 1 ? 2 : 9;
}

constexpr int yAfterLastLine() {
    int y = firstLineY;
    for (const wchar_t* line : lines) {
        y += lineAdvance(line);
    }
    return y;
}

// The Close button stands where the next line would.
constexpr int closeButtonY = yAfterLastLine();
static_assert(closeButtonY == 270);

constexpr std::size_t maxTemplateSize() {
    std::size_t size = maxHeaderSize(4) + maxItemSize(5);
    for (const wchar_t* line : lines) {
        size += maxItemSize(textLength(line));
    }
    return size;
}
static_assert(maxTemplateSize() <= templateBufferSize);

constexpr bool linesFitTemplateStrings() {
    for (const wchar_t* line : lines) {
        if (textLength(line) >= static_cast<std::size_t>(stringLimit)) {
            return false;
        }
    }
    return true;
}
static_assert(linesFitTemplateStrings());

} // namespace

std::size_t buildHelpTemplate(TemplateBuffer& buffer, const wchar_t* typeface) {
    TemplateCursor cursor = buffer.bytes;
    writeDialogHeader(cursor, helpDialog, L"Help", helpPointSize, typeface, 1 + helpLineCount);
    writeButtonItem(cursor, 80, closeButtonY, helpCloseButtonId);
    int y = firstLineY;
    for (const wchar_t* line : lines) {
        writeStaticItem(cursor, {lineX, y, lineWidth, lineHeight}, line, lineStyle, -1);
        y += lineAdvance(line);
    }
    return static_cast<std::size_t>(cursor - buffer.bytes);
}
