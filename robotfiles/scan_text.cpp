#include "robotfiles/scan_text.h"

#include "math/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isBlankByte(text[pos])) {
        ++pos;
    }
    return pos;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerByte(a[i]) != lowerByte(b[i])) {
            return false;
        }
    }
    return true;
}

bool equalsAnyNoCase(std::string_view word, std::initializer_list<std::string_view> words) {
    for (const std::string_view known : words) {
        if (equalsNoCase(word, known)) {
            return true;
        }
    }
    return false;
}

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
// for anything else, which readSingle then reads.
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

bool readNumberAt(std::string_view text, std::size_t pos, float& value, std::size_t& length) {
    if (pos >= text.size() || isBlankByte(text[pos])) {
        return false;
    }
    if (readShortNumber(text, pos, value, length)) {
        return true;
    }
    std::size_t consumed = 0;
    if (!readSingle(text.data() + pos, text.size() - pos, value, &consumed)) {
        return false;
    }
    length = consumed;
    return true;
}

namespace {

// The numbers of robot programs are mostly short decimals (1234.5, -0.604),
// and listing a large program prints millions of them. For such a value the
// fewest decimals whose nearest digits read back to the same float give what
// to_chars gives: in this range it writes fixed notation, and n / 10^k of
// exact float operands rounds once, as reading does.
bool shortDecimal(float value, std::string& out) {
    static const double powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7};
    const float magnitude = value < 0.0f ? -value : value;
    if (!(magnitude >= 0.001f && magnitude < 100000.0f)) {
        return false;
    }
    for (int k = 0; k < 8; ++k) {
        // Exact: 24 bits of the float times at most 24 bits of the power.
        const double scaled = static_cast<double>(magnitude) * powers[k];
        const double nearest = std::nearbyint(scaled);
        // A tie between two decimals is left to to_chars.
        if (nearest > 16777216.0 || std::fabs(nearest - scaled) == 0.5) {
            return false;
        }
        if (static_cast<float>(nearest) / static_cast<float>(powers[k]) != magnitude) {
            continue;
        }
        char digits[16];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(nearest));
        std::string_view text(digits, static_cast<std::size_t>(end.ptr - digits));
        out.clear();
        if (value < 0.0f) {
            out += '-';
        }
        if (text.size() <= static_cast<std::size_t>(k)) {
            out += "0.";
            out.append(static_cast<std::size_t>(k) - text.size(), '0');
            out += text;
        } else {
            out += text.substr(0, text.size() - static_cast<std::size_t>(k));
            if (k > 0) {
                out += '.';
                out += text.substr(text.size() - static_cast<std::size_t>(k));
            }
        }
        return true;
    }
    return false;
}

} // namespace

std::string shortestFloat(float value) {
    std::string text;
    if (shortDecimal(value, text)) {
        return text;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string shortestDouble(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
