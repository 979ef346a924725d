#pragma once

// Realistic operands for the core benchmarks: the taught positions of the
// start-up self-test, read with the program's own readers, and robot texts as
// controllers and their editors write them.

#include "math/euler_pose.h"
#include "math/quat_pose.h"
#include "math/transform.h"

constexpr int sampleCount = 12;

struct Samples {
    QuatPose quatPoses[sampleCount];
    EulerPose eulerPoses[sampleCount];
    // Rigid transformations, built alternately from the quaternion and the
    // Euler poses.
    Transform transforms[sampleCount];
};

// Built once, on first use; false in ok when a self-test text did not read.
const Samples& samples(bool* ok = nullptr);

inline int nextSample(int k) {
    return k + 1 == sampleCount ? 0 : k + 1;
}

struct RobotText {
    const char* name;
    const wchar_t* text;
};

// One typical text of each kind the readers meet on the clipboard.
extern const RobotText kukaTexts[2];
extern const RobotText abbTexts[3];
extern const RobotText fanucTexts[2];
