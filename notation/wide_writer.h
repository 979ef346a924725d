#pragma once

#include "math/number_text.h"

// Builds a robot text in a caller's UTF-16 buffer, capacity counted in
// characters with the terminator included. Once something does not fit, the
// text is marked failed and finishWideText empties the buffer.
struct WideWriter {
    wchar_t* buffer = nullptr;
    int capacity = 0;
    int length = 0;
    bool failed = false;
};

WideWriter startWideText(wchar_t* buffer, int capacity);
void appendAscii(WideWriter& writer, const char* text);
void appendFixed(WideWriter& writer, double value, FixedFormat format);
// True when the text is complete and not empty.
bool finishWideText(WideWriter& writer);
