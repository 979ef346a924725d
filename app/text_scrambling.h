#pragma once

#include <cstddef>
#include <cstdint>

// The program keeps a few texts in its data only as their bytes XOR a key, so
// they do not show up as plain strings in the executable. The key is not
// stored either: it is computed from the constants below wherever it is
// needed, at compile time to scramble and at run time to unscramble.
// Portable on purpose, so both directions are tested natively.

constexpr int scrambleKeyLength = 128;
// A stored text is cut to this many bytes when unscrambled.
constexpr int maxScrambledLength = scrambleKeyLength;

// Fills key from a xorshift generator. Every key byte has its high bit set, so
// no ASCII character scrambles to a zero byte, which would end the text early.
constexpr void assembleScrambleKey(unsigned char (&key)[scrambleKeyLength]) {
    std::uint32_t state = 0x2F6B1C3Du;
    for (unsigned char& byte : key) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<unsigned char>((state >> 24) | 0x80u);
    }
}

// A scrambled text as stored: Size - 1 scrambled bytes and a zero terminator.
template <std::size_t Size>
struct ScrambledText {
    char bytes[Size];
};

// Scrambles a plain ASCII text of at most maxScrambledLength characters; use
// it to initialise a constexpr object so only the scrambled bytes are stored.
template <std::size_t Size>
consteval ScrambledText<Size> scrambleText(const char (&plain)[Size]) {
    static_assert(Size >= 1 && Size - 1 <= static_cast<std::size_t>(maxScrambledLength),
                  "a scrambled text holds at most 128 bytes");
    unsigned char key[scrambleKeyLength] = {};
    assembleScrambleKey(key);
    ScrambledText<Size> stored = {};
    for (std::size_t i = 0; i + 1 < Size; ++i) {
        stored.bytes[i] = static_cast<char>(static_cast<unsigned char>(plain[i]) ^ key[i]);
    }
    stored.bytes[Size - 1] = '\0';
    return stored;
}

// True when every byte before the terminator is non-zero, so the stored text
// reads back at its full length.
template <std::size_t Size>
constexpr bool hasNoZeroByte(const ScrambledText<Size>& stored) {
    for (std::size_t i = 0; i + 1 < Size; ++i) {
        if (stored.bytes[i] == '\0') {
            return false;
        }
    }
    return true;
}

// True when the plain text is ASCII, so its meaning does not depend on the
// code page it is read back in.
template <std::size_t Size>
constexpr bool isPlainAscii(const char (&plain)[Size]) {
    for (std::size_t i = 0; i + 1 < Size; ++i) {
        const auto code = static_cast<unsigned char>(plain[i]);
        if (code == 0 || code > 0x7F) {
            return false;
        }
    }
    return true;
}

// Unscrambles the bytes before the stored text's terminator, at most
// maxScrambledLength of them, into plain and terminates it there. Returns the
// number of bytes unscrambled.
inline int unscrambleBytes(const char* stored, char (&plain)[maxScrambledLength + 1]) {
    unsigned char key[scrambleKeyLength];
    assembleScrambleKey(key);
    int length = 0;
    while (length < maxScrambledLength && stored[length] != '\0') {
        plain[length] = static_cast<char>(static_cast<unsigned char>(stored[length]) ^ key[length]);
        ++length;
    }
    plain[length] = '\0';
    return length;
}
