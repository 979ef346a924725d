#pragma once

#include "math/euler_pose.h"
#include "math/quat_pose.h"
#include "math/transform.h"
#include "notation/self_test_data.h"

// Proves the conversion chain against stored reference data: for every user
// frame U and tool T of each set, U * P * inverse(T) must give the reference.
bool runSelfTest();
bool selfTestAbb();
bool selfTestFanuc();

// The same tests on a given data set.
bool selfTestAbb(const AbbSelfTestData& data);
bool selfTestFanuc(const FanucSelfTestData& data);

// The flange pose of one combination: userFrame * position * inverse(tool).
Transform flangeTransform(Transform userFrame, Transform position, Transform tool);

// The texts that the self-test compares: "%.1f %.1f %.1f %.4f %.4f %.4f %.4f"
// of x, y, z, q1..q4 and "%.1f %.1f %.1f %.1f %.1f %.1f" of x, y, z, c, b, a.
// False (and an empty text) when the text does not fit.
constexpr int comparisonTextSize = 4096;
bool formatAbbComparison(const QuatPose& pose, char* out, int capacity);
bool formatFanucComparison(const EulerPose& pose, char* out, int capacity);
