#pragma once

#include "math/euler_pose.h"
#include "math/quat_pose.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>

// Comparisons of the poses that the robot-text readers fill, printing both
// poses on failure. A tolerance of 0 demands the exact value.

inline std::string describe(const EulerPose& p) {
    std::ostringstream text;
    text << std::setprecision(17) << "(" << p.x << ", " << p.y << ", " << p.z << " | a " << p.a
         << ", b " << p.b << ", c " << p.c << ")";
    return text.str();
}

inline std::string describe(const QuatPose& p) {
    std::ostringstream text;
    text << std::setprecision(17) << "(" << p.x << ", " << p.y << ", " << p.z << " | " << p.q1
         << ", " << p.q2 << ", " << p.q3 << ", " << p.q4
         << (p.unitLength ? " unit)" : " not unit)");
    return text.str();
}

inline bool near(double actual, double expected, double tolerance) {
    return actual == expected || std::fabs(actual - expected) <= tolerance;
}

inline ::testing::AssertionResult posesNear(const EulerPose& actual, const EulerPose& expected,
                                            double tolerance = 0.0) {
    const double pairs[6][2] = {{actual.x, expected.x}, {actual.y, expected.y},
                                {actual.z, expected.z}, {actual.a, expected.a},
                                {actual.b, expected.b}, {actual.c, expected.c}};
    for (const auto& pair : pairs) {
        if (!near(pair[0], pair[1], tolerance)) {
            return ::testing::AssertionFailure()
                   << "got " << describe(actual) << ", expected " << describe(expected);
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult posesNear(const QuatPose& actual, const QuatPose& expected,
                                            double tolerance = 0.0) {
    const double pairs[7][2] = {{actual.x, expected.x},   {actual.y, expected.y},
                                {actual.z, expected.z},   {actual.q1, expected.q1},
                                {actual.q2, expected.q2}, {actual.q3, expected.q3},
                                {actual.q4, expected.q4}};
    for (const auto& pair : pairs) {
        if (!near(pair[0], pair[1], tolerance)) {
            return ::testing::AssertionFailure()
                   << "got " << describe(actual) << ", expected " << describe(expected);
        }
    }
    if (actual.unitLength != expected.unitLength) {
        return ::testing::AssertionFailure()
               << "unit length verdict differs: got " << describe(actual) << ", expected "
               << describe(expected);
    }
    return ::testing::AssertionSuccess();
}

// A pose the readers could never produce, to see which fields they touched.
inline EulerPose untouchedEulerPose() {
    return {7.0, 7.0, 7.0, 7.0, 7.0, 7.0};
}

// A readable name for a case's text: its first 60 units and its length.
inline std::string traceText(const wchar_t* text) {
    const std::wstring whole(text);
    std::ostringstream trace;
    trace << ::testing::PrintToString(whole.substr(0, 60)) << " (" << whole.size() << " units)";
    return trace.str();
}
