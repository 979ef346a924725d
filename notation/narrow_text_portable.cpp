#include "notation/narrow_text.h"

// Without ANSI code pages only ASCII is kept: the robot-text grammars are
// pure ASCII, and every other unit becomes one '?' so that it can never be
// taken for part of a number or a marker.
void narrowText(const wchar_t* text, char (&buffer)[narrowBufferSize]) {
    int length = 0;
    if (text != nullptr) {
        for (; length < narrowBufferSize - 1 && text[length] != L'\0'; ++length) {
            const wchar_t unit = text[length];
            buffer[length] = unit >= 0 && unit < 128 ? static_cast<char>(unit) : '?';
        }
    }
    buffer[length] = '\0';
    buffer[narrowBufferSize - 1] = '\0';
}
