#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "calculator/calculator_state.h"
#include "window_harness.h"

// Everything of PoseBridge a user could lose: the calculator state and every
// text the window shows (fields, text line, button captions).
struct StateSnapshot {
    CalculatorState state;
    std::vector<std::wstring> texts;
};

inline StateSnapshot takeSnapshot(HWND window) {
    return {calculator, visibleTexts(window)};
}

// Bit for bit, field by field (the records have padding).
inline bool sameState(const CalculatorState& p, const CalculatorState& q) {
    const auto same = [](const void* a, const void* b, std::size_t n) {
        return std::memcmp(a, b, n) == 0;
    };
    const QuatPose& u = p.currentQuat;
    const QuatPose& v = q.currentQuat;
    return same(p.current.e, q.current.e, sizeof p.current.e) &&
           same(&p.currentEuler, &q.currentEuler, sizeof p.currentEuler) &&
           same(&u.x, &v.x, sizeof u.x) && same(&u.y, &v.y, sizeof u.y) &&
           same(&u.z, &v.z, sizeof u.z) && same(&u.q1, &v.q1, sizeof u.q1) &&
           same(&u.q2, &v.q2, sizeof u.q2) && same(&u.q3, &v.q3, sizeof u.q3) &&
           same(&u.q4, &v.q4, sizeof u.q4) && u.unitLength == v.unitLength &&
           same(p.slotA.e, q.slotA.e, sizeof p.slotA.e) &&
           same(p.slotB.e, q.slotB.e, sizeof p.slotB.e);
}
