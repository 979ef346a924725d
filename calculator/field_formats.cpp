// Turns the calculator state into the texts of the number fields.

#include "calculator/calculator_state.h"
#include "calculator/field_texts.h"
#include "math/number_text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr int fieldCapacityValue = 31;
constexpr int textCapacityValue = 4095;

constexpr FixedFormat twoDecimals{2, 0, false};   // "%.2f": positions and angles
constexpr FixedFormat sevenDecimals{7, 1, false}; // "%01.7f": quaternion and rotation
constexpr FixedFormat noDecimals{0, 0, false};    // "%.0f": the matrix's bottom row

// A capacity that lies outside its buffer is treated as the whole buffer.
int boundedCapacity(int capacity, int units) {
    return (capacity >= 1 && capacity <= units) ? capacity : units;
}

// Removes the '+' and leading zeros that to_chars puts into the exponent:
// "1.5e+027" style texts become "1.5e27". Returns the new length.
int tidyExponent(char* text, int length) {
    int e = 0;
    while (e < length && text[e] != 'e') {
        ++e;
    }
    if (e == length) {
        return length;
    }
    int out = e + 1;
    int in = e + 1;
    if (in < length && (text[in] == '+' || text[in] == '-')) {
        if (text[in] == '-') {
            text[out++] = '-';
        }
        ++in;
    }
    while (in + 1 < length && text[in] == '0') {
        ++in;
    }
    while (in < length) {
        text[out++] = text[in++];
    }
    return out;
}

int copyText(const char* source, char* out, int capacity) {
    const int length = static_cast<int>(std::strlen(source));
    if (length >= capacity) {
        return -1;
    }
    std::memcpy(out, source, static_cast<std::size_t>(length) + 1);
    return length;
}

// The exponent form for a value whose fixed-point text does not fit its
// field: the fewest digits that the field reader turns back into the same
// float, so that importing the shown value changes nothing.
int formatExponent(double value, char* out, int capacity) {
    if (std::isnan(value)) {
        return copyText("NaN", out, capacity);
    }
    if (std::isinf(value)) {
        return copyText(value < 0 ? "-inf" : "inf", out, capacity);
    }
    char raw[64];
    if (std::fabs(value) <= static_cast<double>(FLT_MAX)) {
        const float single = static_cast<float>(value);
        for (int precision = 0; precision <= 8; ++precision) {
            const std::to_chars_result r = std::to_chars(raw, raw + sizeof raw - 1, single,
                                                         std::chars_format::scientific, precision);
            if (r.ec != std::errc()) {
                continue;
            }
            const int length = tidyExponent(raw, static_cast<int>(r.ptr - raw));
            raw[length] = '\0';
            float back = 0.0f;
            if (readSingle(raw, static_cast<std::size_t>(length), back) && back == single) {
                return copyText(raw, out, capacity);
            }
        }
    }
    // Beyond single precision no text reads back; show the double itself.
    const std::to_chars_result r =
        std::to_chars(raw, raw + sizeof raw - 1, value, std::chars_format::scientific);
    if (r.ec != std::errc()) {
        return copyText("NaN", out, capacity);
    }
    const int length = tidyExponent(raw, static_cast<int>(r.ptr - raw));
    raw[length] = '\0';
    return copyText(raw, out, capacity);
}

void putField(FieldTexts& texts, int index, double value, FixedFormat format) {
    const int capacity = boundedCapacity(texts.fieldCapacity, fieldTextUnits);
    char narrow[fieldTextUnits] = {};
    // Non-finite values should not reach the state; if one does, it reads as
    // the same "NaN" mark that a refused field shows, or as an infinity.
    int length = std::isfinite(value) ? formatFixed(value, format, narrow, capacity) : -1;
    if (length < 0) {
        length = formatExponent(value, narrow, capacity);
    }
    if (length < 0) {
        length = 0;
    }
    wchar_t* field = texts.fields[index];
    for (int i = 0; i < length; ++i) {
        field[i] = static_cast<wchar_t>(static_cast<unsigned char>(narrow[i]));
    }
    field[length] = L'\0';
}

} // namespace

void initFieldTexts(FieldTexts& texts) {
    texts.fieldCapacity = fieldCapacityValue;
    texts.textCapacity = textCapacityValue;
}

void formatState(FieldTexts& texts) {
    const EulerPose& euler = calculator.currentEuler;
    const double kuka[6] = {euler.x, euler.y, euler.z, euler.a, euler.b, euler.c};
    for (int i = 0; i < 6; ++i) {
        putField(texts, kukaFirstIndex + i, kuka[i], twoDecimals);
    }

    const QuatPose& quat = calculator.currentQuat;
    const double abb[7] = {quat.x, quat.y, quat.z, quat.q1, quat.q2, quat.q3, quat.q4};
    for (int i = 0; i < 7; ++i) {
        putField(texts, abbFirstIndex + i, abb[i], i < 3 ? twoDecimals : sevenDecimals);
    }

    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const FixedFormat format = row == 3      ? noDecimals
                                       : column == 3 ? twoDecimals
                                                     : sevenDecimals;
            putField(texts, matrixFirstIndex + 4 * row + column,
                     at(calculator.current, row, column), format);
        }
    }

    // FANUC shows W, P, R: the rotations about X, Y and Z.
    const double fanuc[6] = {euler.x, euler.y, euler.z, euler.c, euler.b, euler.a};
    for (int i = 0; i < 6; ++i) {
        putField(texts, fanucFirstIndex + i, fanuc[i], twoDecimals);
    }

    texts.text[0] = L'\0';
}

void setTextBuffer(FieldTexts& texts, const wchar_t* message) {
    const int capacity = boundedCapacity(texts.textCapacity, textBufferUnits);
    int length = 0;
    if (message != nullptr) {
        while (length < capacity - 1 && message[length] != L'\0') {
            texts.text[length] = message[length];
            ++length;
        }
    }
    texts.text[length] = L'\0';
}
