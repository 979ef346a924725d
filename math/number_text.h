#pragma once

#include <cstddef>

// Numbers in the C numeric conventions, identical on every platform and in
// every locale: the period is the only decimal separator.

// Reads one number as C's strtof reads a decimal number in the "C" locale:
// leading white space, optional sign, digits with an optional period and
// fraction, an optional exponent; the longest such prefix counts and
// whatever follows is ignored. The value is rounded once to float. False for
// text that does not begin with a number, for "nan" and "inf", and for a
// value beyond the range of float (it would poison every later calculation).
// On success *consumed, when given, is the number of characters read,
// leading white space included.
bool readSingle(const char* text, std::size_t length, float& value,
                std::size_t* consumed = nullptr);
bool readSingle(const char* zeroTerminated, float& value, std::size_t* consumed = nullptr);

// Formats like printf's "%.Nf", with the blank flag (' ') and a minimum width
// where asked, rounding the exact binary value. Writes at most capacity - 1
// characters and a terminator; returns the length, or -1 (and an empty text)
// when the result does not fit.
struct FixedFormat {
    int decimals = 2;
    int width = 0;
    bool blankSign = false;
};
int formatFixed(double value, FixedFormat format, char* out, int capacity);
