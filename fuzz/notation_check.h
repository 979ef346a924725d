#pragma once

// Shared by the notation and pose-text targets: what any pose read from a
// text must be, and that a notation's writers give a text its reader takes
// back to nearly the same pose.

#include "fuzz/fuzz_input.h"
#include "math/matrix_validation.h"
#include "robotfiles/notations/notations.h"

#include <cmath>
#include <string>

// A rotation written with two decimals of a degree moves each element by at
// most about three such roundings (2.6e-4); the translation by half a printed
// hundredth of a millimetre plus one float rounding of the value read back.
inline bool nearlySamePose(const Transform& p, const Transform& q) {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (!(std::fabs(at(p, row, column) - at(q, row, column)) <= 1e-3)) {
                return false;
            }
        }
        const double a = at(p, row, 3);
        const double b = at(q, row, 3);
        if (!(std::fabs(a - b) <= 0.0051 + std::fabs(a) * 1e-6)) {
            return false;
        }
    }
    return true;
}

// A pose that a text could carry: its translation inside the range of float
// in the unit of every notation (metres and millimetres alike).
inline bool writable(const Transform& pose) {
    for (int row = 0; row < 3; ++row) {
        if (!withinFloatRange(at(pose, row, 3))) {
            return false;
        }
    }
    return true;
}

// Every read pose is rigid and its members are finite numbers.
inline void checkReadPose(const Notation& notation, const Transform& pose) {
    FUZZ_CHECK(isRigidTransform(pose));
    double values[16];
    FUZZ_CHECK(notation.memberCount >= 6 && notation.memberCount <= 16);
    notation.values(pose, values);
    for (int k = 0; k < notation.memberCount; ++k) {
        FUZZ_CHECK(std::isfinite(values[k]));
    }
}

// What the notation's writer (and its finer one) prints, the same reader
// reads back to nearly the same pose, with the same carried text.
inline void checkWrittenBack(const Notation& notation, const Transform& pose,
                             const NotationText& carried) {
    if (!writable(pose)) {
        return;
    }
    const std::string texts[2] = {notation.write(pose, carried),
                                  notation.writeFine != nullptr ? notation.writeFine(pose) : ""};
    for (int k = 0; k < 2; ++k) {
        if (k == 1 && notation.writeFine == nullptr) {
            continue;
        }
        Transform again;
        NotationText carriedAgain;
        std::string message;
        FUZZ_CHECK(!texts[k].empty());
        FUZZ_CHECK(notation.read(texts[k], again, carriedAgain, message));
        FUZZ_CHECK(nearlySamePose(pose, again));
        FUZZ_CHECK(k == 1 || carriedAgain.carried == carried.carried);
    }
}
