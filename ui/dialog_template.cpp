#include "ui/dialog_template.h"

#include <cstdint>

namespace {

// Dialog coordinates are 16-bit; negative ones are stored in two's complement
// (a y of -20 is 0xFFEC).
std::uint16_t word16(int value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

// Measures like StringCchLengthW with a limit of stringLimit characters: a
// text that has no terminator among its first stringLimit characters fails
// the measurement and counts as empty.
int boundedLength(const wchar_t* text) {
    for (int i = 0; i < stringLimit; ++i) {
        if (text[i] == L'\0') {
            return i;
        }
    }
    return 0;
}

void writeItemStart(TemplateCursor& cursor, DialogRect rect, std::uint32_t style, int id,
                    std::uint16_t classAtom) {
    alignToDword(cursor);
    writeDword(cursor, 0); // help identifier
    writeDword(cursor, 0); // extended style
    writeDword(cursor, style);
    writeWord(cursor, word16(rect.x));
    writeWord(cursor, word16(rect.y));
    writeWord(cursor, word16(rect.width));
    writeWord(cursor, word16(rect.height));
    writeDword(cursor, static_cast<std::uint32_t>(id));
    writeWord(cursor, 0xFFFF); // the class follows as an atom
    writeWord(cursor, classAtom);
}

} // namespace

void alignToDword(TemplateCursor& cursor) {
    const auto address = reinterpret_cast<std::uintptr_t>(cursor);
    // The skipped bytes keep whatever the buffer held.
    cursor += (4 - address % 4) % 4;
}

void writeWord(TemplateCursor& cursor, std::uint16_t value) {
    cursor[0] = static_cast<unsigned char>(value & 0xFFu);
    cursor[1] = static_cast<unsigned char>(value >> 8);
    cursor += 2;
}

void writeDword(TemplateCursor& cursor, std::uint32_t value) {
    writeWord(cursor, static_cast<std::uint16_t>(value & 0xFFFFu));
    writeWord(cursor, static_cast<std::uint16_t>(value >> 16));
}

void writeString(TemplateCursor& cursor, const wchar_t* text) {
    const int length = boundedLength(text);
    for (int i = 0; i < length; ++i) {
        // Template strings are UTF-16; wchar_t holds UTF-16 units on every build.
        writeWord(cursor, static_cast<std::uint16_t>(text[i]));
    }
    writeWord(cursor, 0);
}

void writeDialogHeader(TemplateCursor& cursor, DialogRect rect, const wchar_t* title, int pointSize,
                       const wchar_t* typeface, int itemCount) {
    alignToDword(cursor);
    writeWord(cursor, 1);      // version
    writeWord(cursor, 0xFFFF); // signature of the extended format
    writeDword(cursor, 0);     // help identifier
    writeDword(cursor, 0);     // extended style
    writeDword(cursor, dialogStyle);
    writeWord(cursor, word16(itemCount));
    writeWord(cursor, word16(rect.x));
    writeWord(cursor, word16(rect.y));
    writeWord(cursor, word16(rect.width));
    writeWord(cursor, word16(rect.height));
    writeWord(cursor, 0); // no menu
    writeWord(cursor, 0); // the predefined dialog class
    writeString(cursor, title);
    writeWord(cursor, word16(pointSize));
    writeWord(cursor, 400); // weight
    *cursor++ = 0;          // not italic
    *cursor++ = 0;          // ANSI_CHARSET
    writeString(cursor, typeface);
}

void writeButtonItem(TemplateCursor& cursor, int x, int y, int id) {
    writeItemStart(cursor, {x, y, closeButtonWidth, closeButtonHeight}, closeButtonStyle, id,
                   buttonClassAtom);
    writeString(cursor, L"Close");
    writeWord(cursor, 0); // no creation data
}

void writeStaticItem(TemplateCursor& cursor, DialogRect rect, const wchar_t* text,
                     std::uint32_t style, int id) {
    writeItemStart(cursor, rect, style, id, staticClassAtom);
    writeString(cursor, text);
    writeWord(cursor, 0); // no creation data
}
