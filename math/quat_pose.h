#pragma once

#include "math/transform.h"

// An ABB pose: translation in millimetres and a unit quaternion, q1 the scalar part.
struct QuatPose {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double q1 = 1.0;
    double q2 = 0.0;
    double q3 = 0.0;
    double q4 = 0.0;
    // Whether the quaternion was of unit length before normalize() divided its norm out.
    bool unitLength = true;

    bool normalize();
};

QuatPose makeQuatPose(float x, float y, float z, float q1, float q2, float q3, float q4);
QuatPose quatPoseFromTransform(Transform m);
Transform transformFromQuatPose(QuatPose p);
