#include "math/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

// White space as isspace() knows it in the "C" locale.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The parts of one decimal number found in a text: where its digits start
// (after the sign), where the number ends, and what from_chars cannot tell us
// on a range error - whether the value lies above or below one.
struct DecimalSpan {
    std::size_t signStart = 0; // first character of the sign, or of the digits
    std::size_t digitsStart = 0;
    std::size_t end = 0;
    bool negative = false;
    bool atLeastOne = false; // the magnitude is 1 or more (meaningless for zero)
};

// Finds the longest prefix of text[0, length) that is a decimal number in the
// grammar of strtof in the "C" locale, hexadecimal, infinity and NaN excluded.
bool findDecimal(const char* text, std::size_t length, DecimalSpan& span) {
    std::size_t i = 0;
    while (i < length && isBlank(text[i])) {
        ++i;
    }
    span.signStart = i;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        span.negative = text[i] == '-';
        ++i;
    }
    span.digitsStart = i;

    // Power of ten of the first significant digit, as far as the mantissa
    // tells it; the exponent is added below.
    long leadingPower = 0;
    bool significant = false;
    std::size_t digits = 0;
    while (i < length && isDigit(text[i])) {
        if (significant) {
            leadingPower = leadingPower < 100000 ? leadingPower + 1 : leadingPower;
        } else if (text[i] != '0') {
            significant = true;
        }
        ++digits;
        ++i;
    }
    if (i < length && text[i] == '.') {
        ++i;
        long fractionPlace = 0;
        while (i < length && isDigit(text[i])) {
            fractionPlace = fractionPlace > -100000 ? fractionPlace - 1 : fractionPlace;
            if (!significant && text[i] != '0') {
                significant = true;
                leadingPower = fractionPlace;
            }
            ++digits;
            ++i;
        }
    }
    if (digits == 0) {
        return false;
    }
    span.end = i;

    // An exponent counts only with at least one digit; "1e" and "1e+" are the number 1.
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < length && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        long exponent = 0;
        std::size_t exponentDigits = 0;
        while (j < length && isDigit(text[j])) {
            exponent = exponent < 1000000 ? exponent * 10 + (text[j] - '0') : exponent;
            ++exponentDigits;
            ++j;
        }
        if (exponentDigits > 0) {
            span.end = j;
            leadingPower += negativeExponent ? -exponent : exponent;
        }
    }
    span.atLeastOne = significant && leadingPower >= 0;
    return true;
}

} // namespace

bool readSingle(const char* text, std::size_t length, float& value, std::size_t* consumed) {
    if (text == nullptr) {
        return false;
    }
    DecimalSpan span;
    if (!findDecimal(text, length, span)) {
        return false;
    }
    // from_chars takes a '-' but no '+', and reads nothing but the span found,
    // so the value is rounded to float once, straight from the decimal digits.
    const char* first = text + (span.negative ? span.signStart : span.digitsStart);
    const char* last = text + span.end;
    float result = 0.0f;
    const std::from_chars_result parsed =
        std::from_chars(first, last, result, std::chars_format::general);
    if (parsed.ec == std::errc::result_out_of_range) {
        // Too large for float: refused, an infinity would poison every later
        // calculation. So small that it rounds to zero: zero, as strtof gives.
        if (span.atLeastOne) {
            return false;
        }
        result = span.negative ? -0.0f : 0.0f;
    } else if (parsed.ec != std::errc() || parsed.ptr != last) {
        return false;
    }
    value = result;
    if (consumed != nullptr) {
        *consumed = span.end;
    }
    return true;
}

bool readSingle(const char* zeroTerminated, float& value, std::size_t* consumed) {
    if (zeroTerminated == nullptr) {
        return false;
    }
    return readSingle(zeroTerminated, std::strlen(zeroTerminated), value, consumed);
}

int formatFixed(double value, FixedFormat format, char* out, int capacity) {
    if (out == nullptr || capacity <= 0) {
        return -1;
    }
    out[0] = '\0';
    // Enough for the widest double, 309 integer digits, with a sign and the
    // largest precision allowed here.
    constexpr int maxDecimals = 100;
    char digits[420];
    if (format.decimals < 0 || format.decimals > maxDecimals || format.width < 0) {
        return -1;
    }
    std::size_t length = 0;
    if (format.blankSign && !std::signbit(value)) {
        digits[length++] = ' ';
    }
    const std::to_chars_result written = std::to_chars(
        digits + length, digits + sizeof digits, value, std::chars_format::fixed, format.decimals);
    if (written.ec != std::errc()) {
        return -1;
    }
    length = static_cast<std::size_t>(written.ptr - digits);
    const std::size_t width = static_cast<std::size_t>(format.width);
    const std::size_t padding = width > length ? width - length : 0;
    if (length + padding >= static_cast<std::size_t>(capacity)) {
        return -1;
    }
    std::memset(out, ' ', padding);
    std::memcpy(out + padding, digits, length);
    out[padding + length] = '\0';
    return static_cast<int>(padding + length);
}
