#pragma once

#include "math/euler_pose.h"
#include "math/quat_pose.h"
#include "math/transform.h"

// Window identifiers shared by the calculator and the window.
constexpr int firstFieldId = 701; // KUKA 701-706, ABB 707-713, matrix 714-729, FANUC 730-735
constexpr int fieldCount = 35;
constexpr int textLineId = 736;

constexpr int kukaFirstIndex = 0;
constexpr int abbFirstIndex = 6;
constexpr int matrixFirstIndex = 13;
constexpr int fanucFirstIndex = 29;

constexpr int fieldTextUnits = 32;
constexpr int textBufferUnits = 4096;

// The snapshot of every text in the window that one command works on.
struct FieldTexts {
    int fieldCapacity = 0; // 31, terminator included
    int textCapacity = 0;  // 4095, terminator included
    wchar_t fields[fieldCount][fieldTextUnits] = {};
    wchar_t text[textBufferUnits] = {};
};

void initFieldTexts(FieldTexts& texts);

// Writes the calculator state into every field text and empties the text buffer.
void formatState(FieldTexts& texts);

// Reads fields first..last (indices, inclusive) as single-precision numbers into
// out[0..last-first]. Every field that is not a number is replaced by "NaN";
// the result is false when any field was.
bool readFieldNumbers(FieldTexts& texts, int first, int last, float* out);

bool readKukaFields(FieldTexts& texts, EulerPose& pose);
bool readFanucFields(FieldTexts& texts, EulerPose& pose);
bool readAbbFields(FieldTexts& texts, QuatPose& pose);
bool readMatrixFields(FieldTexts& texts, Transform& m);

// Copies a message into the text buffer, cut to its capacity.
void setTextBuffer(FieldTexts& texts, const wchar_t* message);
