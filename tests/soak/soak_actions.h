#pragma once

#include <cstdint>
#include <string>

// The random material of the soak: what a user or another program may put
// into a field or onto the clipboard. Everything comes from one seeded
// generator, so a run is repeated exactly by its seed.

// A small generator whose sequence is the same on every build (the standard
// distributions are not).
struct SoakRandom {
    std::uint64_t state;

    std::uint64_t next();
    // 0 to count - 1.
    int below(int count);
    bool chance(int percent);
};

// A field text: plausible numbers most of the time, and hostile texts:
// commas, exponents, huge, tiny and non-finite numbers, 30 or more
// characters, blanks, units, non-ASCII digits and letters, surrogates.
std::wstring randomFieldText(SoakRandom& random);

// A number that the fields read well: a position, an angle or a quaternion
// component, with up to seven decimals.
std::wstring plausibleNumber(SoakRandom& random, double magnitude);

// A text line of any length, up to several thousand characters.
std::wstring randomLineText(SoakRandom& random);

// What the soak puts on the clipboard.
enum class ClipboardKind {
    robotText,   // a KUKA, ABB or FANUC text of moderate values that must import
    mangledText, // robot text with some bytes changed, inserted or dropped
    randomText,  // printable ASCII of any length, very long included
    emptyText,   // CF_TEXT holding nothing but the terminator
    binaryText,  // bytes 1 to 255 of no meaning
    nonAscii,    // robot text with bytes of the upper half of the code page
    picture,     // a bitmap and no text
    nothing,     // an emptied clipboard
};

struct ClipboardContent {
    ClipboardKind kind;
    std::string text; // the narrow text, for the text kinds
};

ClipboardContent randomClipboardContent(SoakRandom& random);

const char* clipboardKindName(ClipboardKind kind);

// Puts the content on the clipboard as another program would; false when
// the clipboard could not be had.
bool putClipboardContent(const ClipboardContent& content);

// Narrow text as the soak writes it in its log: non-printable bytes as \xNN,
// cut to a readable length.
std::string printable(const std::string& text);
std::string printable(const std::wstring& text);
