#pragma once

// Matrix comparisons for tests: on failure they print both matrices and their
// difference, e.g. EXPECT_TRUE(rotationsNear(expected, actual, 1e-12)).

#include "math/transform.h"

#include <cmath>
#include <gtest/gtest.h>
#include <iomanip>
#include <sstream>

inline void printMatrixRows(std::ostream& out, const char* title, const Transform& m, int size) {
    out << title << ":\n";
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            out << std::setw(26) << at(m, r, c);
        }
        out << '\n';
    }
}

// Compares the upper-left size x size elements; a not-a-number anywhere fails.
inline ::testing::AssertionResult matricesNear(const Transform& expected, const Transform& actual,
                                               double tolerance, int size) {
    Transform difference;
    bool near = true;
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            at(difference, r, c) = at(actual, r, c) - at(expected, r, c);
            if (!(std::fabs(at(difference, r, c)) <= tolerance)) {
                near = false;
            }
        }
    }
    if (near) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream out;
    out << std::setprecision(17) << "matrices differ by more than " << tolerance << "\n";
    printMatrixRows(out, "expected", expected, size);
    printMatrixRows(out, "actual", actual, size);
    printMatrixRows(out, "actual - expected", difference, size);
    return ::testing::AssertionFailure() << out.str();
}

// The rotation blocks only.
inline ::testing::AssertionResult rotationsNear(const Transform& expected, const Transform& actual,
                                                double tolerance) {
    return matricesNear(expected, actual, tolerance, 3);
}

// All sixteen elements.
inline ::testing::AssertionResult transformsNear(const Transform& expected, const Transform& actual,
                                                 double tolerance) {
    return matricesNear(expected, actual, tolerance, 4);
}
