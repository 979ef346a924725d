#pragma once

#include <cstddef>
#include <cstdint>

// Writes extended dialog templates (a DLGTEMPLATEEX header followed by
// DLGITEMTEMPLATEEX items) into memory, in the subset the program uses: no
// menu, the predefined dialog class, a font block, items whose class is an
// atom, no creation data. Values are stored little-endian; strings as
// zero-terminated UTF-16.

// The address of the next free byte; every writer leaves it just behind what
// it wrote. The buffer must start on a 4-byte boundary.
using TemplateCursor = unsigned char*;

// writeString copies texts shorter than this whole; a longer one (or one
// without a terminator among its first stringLimit characters) becomes empty.
constexpr int stringLimit = 100;

// Style of every dialog: WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT.
constexpr std::uint32_t dialogStyle = 0x80C800C0u;
// Style of the Close push button: WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON.
constexpr std::uint32_t closeButtonStyle = 0x50000001u;
constexpr int closeButtonWidth = 50;
constexpr int closeButtonHeight = 16;
constexpr std::uint16_t buttonClassAtom = 0x0080;
constexpr std::uint16_t staticClassAtom = 0x0082;

// The buffer a whole template is written into: aligned as templates must be,
// and large enough for every template of the program (each builder checks
// its worst case against this size when it is compiled).
constexpr std::size_t templateBufferSize = 4096;
struct alignas(4) TemplateBuffer {
    unsigned char bytes[templateBufferSize];
};

// Placement and size of a dialog or an item, in dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

void alignToDword(TemplateCursor& cursor);
void writeWord(TemplateCursor& cursor, std::uint16_t value);
void writeDword(TemplateCursor& cursor, std::uint32_t value);
void writeString(TemplateCursor& cursor, const wchar_t* text);

// Aligns, then writes the header with its font block. typeface is the face
// of the dialog font, written like every other string.
void writeDialogHeader(TemplateCursor& cursor, DialogRect rect, const wchar_t* title, int pointSize,
                       const wchar_t* typeface, int itemCount);
// Aligns, then writes one "Close" push button of 50 x 16 dialog units.
void writeButtonItem(TemplateCursor& cursor, int x, int y, int id);
// Aligns, then writes one static control.
void writeStaticItem(TemplateCursor& cursor, DialogRect rect, const wchar_t* text,
                     std::uint32_t style, int id);

// Upper bounds, for sizing buffers at compile time: a header whose title has
// titleLength characters, and an item whose text has textLength characters
// (alignment included; the typeface counts with its longest possible length).
constexpr std::size_t maxHeaderSize(std::size_t titleLength) {
    return 3 + 30 + 2 * (titleLength + 1) + 6 + 2 * stringLimit;
}
constexpr std::size_t maxItemSize(std::size_t textLength) {
    return 3 + 28 + 2 * (textLength + 1) + 2;
}
