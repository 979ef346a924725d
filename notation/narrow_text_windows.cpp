#include "notation/narrow_text.h"

#include <windows.h>

namespace {

// Converts the longest prefix of text whose narrowed form fits into
// narrowBufferSize - 1 bytes. A unit becomes at most two bytes in any ANSI
// code page, so each round drops enough units to come closer.
void narrowPrefix(const wchar_t* text, char (&buffer)[narrowBufferSize]) {
    const int room = narrowBufferSize - 1;
    int units = 0;
    while (units < room && text[units] != L'\0') {
        ++units;
    }
    int written = 0;
    while (units > 0) {
        // Never split a surrogate pair.
        if (IS_HIGH_SURROGATE(text[units - 1]) && IS_LOW_SURROGATE(text[units])) {
            --units;
            continue;
        }
        const int needed = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text, units, nullptr, 0,
                                               nullptr, nullptr);
        if (needed > 0 && needed <= room) {
            written = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text, units, buffer, room,
                                          nullptr, nullptr);
            break;
        }
        const int excess = needed > room ? needed - room : 2;
        units -= excess / 2 > 1 ? excess / 2 : 1;
    }
    buffer[written > 0 ? written : 0] = '\0';
}

} // namespace

void narrowText(const wchar_t* text, char (&buffer)[narrowBufferSize]) {
    buffer[0] = '\0';
    if (text == nullptr) {
        return;
    }
    const int written = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text, -1, buffer,
                                            narrowBufferSize, nullptr, nullptr);
    if (written == 0) {
        // A text longer than the buffer is cut, not refused: whatever this
        // Windows version left in the buffer, convert a prefix that fits.
        narrowPrefix(text, buffer);
    }
    buffer[narrowBufferSize - 1] = '\0';
}
