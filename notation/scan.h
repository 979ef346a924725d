#pragma once

// Small text tools shared by the three robot-text readers. They work on the
// narrow, zero-terminated copies that narrowText makes.

// Lower-cases A to Z in place; every other byte is kept.
void lowerCaseAscii(char* text);

// Matches text against a scanf-like pattern and returns how many numbers were
// read before the first mismatch. In the pattern a blank matches any amount
// of white space, none included; "%g" skips white space and reads one number
// as readSingle does; every other character must equal the next character of
// the text. At most capacity numbers are stored.
int scanPattern(const char* text, const char* pattern, float* values, int capacity);
