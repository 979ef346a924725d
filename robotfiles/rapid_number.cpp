#include "robotfiles/rapid_number.h"

#include "robotfiles/scan_text.h"

#include <cstdint>

namespace {

// Every integer up to 2^24 and every power of ten up to 1e10 is exact as a
// float, and one float multiplication or division rounds once: for such a
// digit string and power the float result is the correctly rounded value,
// the one readNumberAt gives.
constexpr std::uint32_t maxExactDigits = std::uint32_t{1} << 24;
constexpr int maxExactPower = 10;
constexpr float powersOfTen[maxExactPower + 1] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                                  1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// Digits with an optional fraction and exponent, all of them short; false
// for anything else, which readNumberAt then reads.
bool readShortNumber(std::string_view text, std::size_t pos, float& value, std::size_t& length) {
    std::size_t i = pos;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    std::uint32_t digits = 0;
    int power = 0;
    bool any = false;
    bool fraction = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !fraction) {
            fraction = true;
            continue;
        }
        if (!isDigitByte(c)) {
            break;
        }
        any = true;
        digits = digits * 10 + static_cast<std::uint32_t>(c - '0');
        if (digits > maxExactDigits) {
            return false;
        }
        power -= fraction ? 1 : 0;
    }
    if (!any) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        const bool negativeExponent = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            ++j;
        }
        int exponent = 0;
        int exponentDigits = 0;
        for (; j < text.size() && isDigitByte(text[j]); ++j) {
            if (++exponentDigits > 2) {
                return false;
            }
            exponent = exponent * 10 + (text[j] - '0');
        }
        // "1e" and "1e+" are the number 1, as in readNumberAt.
        if (exponentDigits > 0) {
            power += negativeExponent ? -exponent : exponent;
            i = j;
        }
    }
    if (power < -maxExactPower || power > maxExactPower) {
        return false;
    }
    const float magnitude = power >= 0 ? static_cast<float>(digits) * powersOfTen[power]
                                       : static_cast<float>(digits) / powersOfTen[-power];
    value = negative ? -magnitude : magnitude;
    length = i - pos;
    return true;
}

} // namespace

bool readRapidNumber(std::string_view text, std::size_t pos, float& value, std::size_t& length) {
    return readShortNumber(text, pos, value, length) || readNumberAt(text, pos, value, length);
}
