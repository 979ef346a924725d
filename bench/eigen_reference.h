#pragma once

// The core conversions done the usual Eigen 3 way, on the program's own
// records, so that the benchmarks can report each conversion's time as a
// ratio to Eigen's. Compiled in a file of their own, like the program's core,
// so that neither side is inlined into the benchmark loop.

#include "math/euler_pose.h"
#include "math/quat_pose.h"
#include "math/transform.h"

Transform eigenMultiply(const Transform& a, const Transform& b);
Transform eigenInverse(const Transform& m);
Transform eigenTransformFromQuatPose(const QuatPose& p);
QuatPose eigenQuatPoseFromTransform(const Transform& m);
Transform eigenTransformFromEulerPose(const EulerPose& p);
// Eigen's own angle ranges: a in [0, 180], so the triple may be the other of
// the two that describe the rotation.
EulerPose eigenEulerPoseFromTransform(const Transform& m);
bool eigenIsRigidTransform(const Transform& m);
