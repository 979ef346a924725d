#include "notation/scan.h"

#include "math/number_text.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

void lowerCaseAscii(char* text) {
    for (; *text != '\0'; ++text) {
        if (*text >= 'A' && *text <= 'Z') {
            *text = static_cast<char>(*text - 'A' + 'a');
        }
    }
}

int scanPattern(const char* text, const char* pattern, float* values, int capacity) {
    int count = 0;
    while (*pattern != '\0') {
        if (*pattern == ' ') {
            while (isBlank(*text)) {
                ++text;
            }
            ++pattern;
        } else if (pattern[0] == '%' && pattern[1] == 'g') {
            float value = 0.0f;
            std::size_t consumed = 0;
            if (count >= capacity || !readSingle(text, value, &consumed)) {
                return count;
            }
            values[count++] = value;
            text += consumed;
            pattern += 2;
        } else {
            if (*text != *pattern) {
                return count;
            }
            ++text;
            ++pattern;
        }
    }
    return count;
}
