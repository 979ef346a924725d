#include "robotfiles/decimal_text.h"

#include "math/number_text.h"

#include <cmath>

std::string fixedText(double value, int decimals) {
    const double unit = std::pow(10.0, -decimals);
    if (std::fabs(value) < 0.5 * unit) {
        value = 0.0;
    }
    char buffer[64];
    if (formatFixed(value, FixedFormat{decimals, 0, false}, buffer, sizeof buffer) < 0) {
        return std::isnan(value) ? "nan" : value > 0 ? "inf" : value < 0 ? "-inf" : "?";
    }
    return buffer;
}

std::string narrowAscii(const wchar_t* text) {
    std::string out;
    for (; *text != L'\0'; ++text) {
        out += (*text > 0 && *text < 128) ? static_cast<char>(*text) : '?';
    }
    return out;
}
