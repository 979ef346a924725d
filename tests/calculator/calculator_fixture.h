#pragma once

#include "calculator/calculator_state.h"
#include "calculator/field_texts.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

// The calculator state is global: every test starts from the start values.
class CalculatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetCalculator();
        initFieldTexts(texts);
    }

    // Puts a text into a field, cut to the field's units and terminated.
    void setField(int index, const std::wstring& text) {
        const std::size_t n = text.size() < fieldTextUnits - 1 ? text.size() : fieldTextUnits - 1;
        std::wmemcpy(texts.fields[index], text.c_str(), n);
        texts.fields[index][n] = L'\0';
    }
    void setId(int id, const std::wstring& text) { setField(id - firstFieldId, text); }
    std::wstring fieldId(int id) const { return field(id - firstFieldId); }
    std::wstring field(int index) const { return bounded(texts.fields[index], fieldTextUnits); }
    std::wstring textBuffer() const { return bounded(texts.text, textBufferUnits); }

    static std::wstring bounded(const wchar_t* text, std::size_t units) {
        std::size_t n = 0;
        while (n < units && text[n] != L'\0') {
            ++n;
        }
        return std::wstring(text, n);
    }

    FieldTexts texts;
};

inline ::testing::AssertionResult transformsNear(const Transform& expected, const Transform& actual,
                                                 double tolerance) {
    for (int i = 0; i < 16; ++i) {
        if (!(std::fabs(expected.e[i] - actual.e[i]) <= tolerance)) {
            return ::testing::AssertionFailure()
                   << "element (" << i / 4 << ", " << i % 4 << "): expected " << expected.e[i]
                   << ", actual " << actual.e[i];
        }
    }
    return ::testing::AssertionSuccess();
}

// Bitwise equality of all five records: a refused operation must leave every bit.
inline ::testing::AssertionResult sameState(const CalculatorState& before,
                                            const CalculatorState& after) {
    auto same = [](const auto& a, const auto& b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    const EulerPose& e0 = before.currentEuler;
    const EulerPose& e1 = after.currentEuler;
    const QuatPose& q0 = before.currentQuat;
    const QuatPose& q1 = after.currentQuat;
    if (!same(before.current, after.current) || !same(before.slotA, after.slotA) ||
        !same(before.slotB, after.slotB)) {
        return ::testing::AssertionFailure() << "a transformation changed";
    }
    const double euler0[] = {e0.x, e0.y, e0.z, e0.a, e0.b, e0.c};
    const double euler1[] = {e1.x, e1.y, e1.z, e1.a, e1.b, e1.c};
    const double quat0[] = {q0.x, q0.y, q0.z, q0.q1, q0.q2, q0.q3, q0.q4};
    const double quat1[] = {q1.x, q1.y, q1.z, q1.q1, q1.q2, q1.q3, q1.q4};
    if (!same(euler0, euler1) || !same(quat0, quat1) || q0.unitLength != q1.unitLength) {
        return ::testing::AssertionFailure() << "a derived pose changed";
    }
    return ::testing::AssertionSuccess();
}

// A state far from the start values, with both slots held, so that a change shows.
inline void setBusyState() {
    EulerPose pose;
    pose.x = 100.5;
    pose.y = -20.25;
    pose.z = 300.0;
    pose.a = 10.0;
    pose.b = 20.0;
    pose.c = 30.0;
    setCurrentFromEulerPose(pose);
    setSlotA(false);
    invertCurrent();
    setSlotB(false);
    pose.a = -45.0;
    setCurrentFromEulerPose(pose);
}
