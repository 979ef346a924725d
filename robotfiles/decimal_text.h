#pragma once

#include <string>

// Numbers as the vendors' pose writers print them.

// A value with this many decimals, rounded once from the value itself; a
// value that rounds to zero is written as exact zero rather than -0.000.
std::string fixedText(double value, int decimals);

// The window's formatters write wide characters; the texts are ASCII.
constexpr int wideTextCapacity = 512;
std::string narrowAscii(const wchar_t* text);
