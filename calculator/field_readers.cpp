// Turns the texts of the number fields into numbers and pose records.

#include "calculator/field_texts.h"
#include "math/number_text.h"

#include <cstdint>
#include <limits>

namespace {

// Stands in for every unit that cannot belong to a number: it is neither a
// digit, a sign, a period, an exponent letter nor white space.
constexpr char foreignUnit = '\x7f';

void markNotANumber(wchar_t* field) {
    field[0] = L'N';
    field[1] = L'a';
    field[2] = L'N';
    field[3] = L'\0';
}

// Reads one field; the text is bounded by its buffer even if it lacks a terminator.
bool readField(wchar_t* field, float& value) {
    char narrow[fieldTextUnits + 1] = {};
    int length = 0;
    while (length < fieldTextUnits && field[length] != L'\0') {
        const wchar_t unit = field[length];
        // A comma is refused rather than guessed at as a decimal separator.
        if (unit == L',') {
            return false;
        }
        narrow[length] =
            static_cast<std::uint32_t>(unit) < 128u ? static_cast<char>(unit) : foreignUnit;
        ++length;
    }
    return readSingle(narrow, static_cast<std::size_t>(length), value);
}

} // namespace

bool readFieldNumbers(FieldTexts& texts, int first, int last, float* out) {
    if (first < 0 || last >= fieldCount || first > last || out == nullptr) {
        return false;
    }
    bool allRead = true;
    // Every field is examined, so that each bad one of the notation gets its mark.
    for (int index = first; index <= last; ++index) {
        float value = 0.0f;
        if (readField(texts.fields[index], value)) {
            out[index - first] = value;
        } else {
            out[index - first] = std::numeric_limits<float>::quiet_NaN();
            markNotANumber(texts.fields[index]);
            allRead = false;
        }
    }
    return allRead;
}

bool readKukaFields(FieldTexts& texts, EulerPose& pose) {
    float v[6];
    if (!readFieldNumbers(texts, kukaFirstIndex, kukaFirstIndex + 5, v)) {
        return false;
    }
    pose = makeEulerPose(v[0], v[1], v[2], v[3], v[4], v[5]);
    return true;
}

bool readFanucFields(FieldTexts& texts, EulerPose& pose) {
    float v[6];
    if (!readFieldNumbers(texts, fanucFirstIndex, fanucFirstIndex + 5, v)) {
        return false;
    }
    // The fields stand in the order W, P, R; the pose keeps R in a and W in c.
    pose = makeEulerPose(v[0], v[1], v[2], v[5], v[4], v[3]);
    return true;
}

bool readAbbFields(FieldTexts& texts, QuatPose& pose) {
    float v[7];
    if (!readFieldNumbers(texts, abbFirstIndex, abbFirstIndex + 6, v)) {
        return false;
    }
    pose = makeQuatPose(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    return true;
}

bool readMatrixFields(FieldTexts& texts, Transform& m) {
    float v[16];
    if (!readFieldNumbers(texts, matrixFirstIndex, matrixFirstIndex + 15, v)) {
        return false;
    }
    m = transformFromFloats(v);
    return true;
}
