#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

// Small text tools shared by the whole-file readers. They work on byte spans
// of any content: nothing here assumes a terminator or a valid encoding.

inline bool isBlankByte(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
inline bool isDigitByte(char c) {
    return c >= '0' && c <= '9';
}
inline bool isLetterByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline char lowerByte(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The position of the first byte at or after pos that is not blank (or the size).
std::size_t skipBlanks(std::string_view text, std::size_t pos);

// ASCII letters compared without regard to case.
bool equalsNoCase(std::string_view a, std::string_view b);
// Whether a word is one of these keywords, as the languages compare them.
bool equalsAnyNoCase(std::string_view word, std::initializer_list<std::string_view> words);

// Reads a number that starts exactly at text[pos] (no leading blanks) as the
// window reads numbers: optional sign, digits, period, exponent, rounded once
// to float; refused beyond the range of float and for "nan" and "inf". On
// success length is the number of its bytes.
bool readNumberAt(std::string_view text, std::size_t pos, float& value, std::size_t& length);

// The shortest decimal that reads back to the same float, or double.
std::string shortestFloat(float value);
std::string shortestDouble(double value);
