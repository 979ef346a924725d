#include "math/euler_pose.h"

#include <cmath>

namespace {

constexpr double degreesToRadians = 0.017453292519943295;
constexpr double radiansToDegrees = 57.29577951308232;
constexpr double negativeRadiansToDegrees = -57.29577951308232;
// Below this length the horizontal part of the first column carries no direction.
constexpr double singularHorizontal = 1e-9;

} // namespace

EulerPose makeEulerPose(float x, float y, float z, float a, float b, float c) {
    EulerPose p;
    p.x = x;
    p.y = y;
    p.z = z;
    p.a = a;
    p.b = b;
    p.c = c;
    return p;
}

Transform rotationX(double radians) {
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    Transform m = identityTransform();
    at(m, 1, 1) = cosine;
    at(m, 2, 2) = cosine;
    at(m, 2, 1) = sine;
    at(m, 1, 2) = -sine;
    return m;
}

Transform rotationY(double radians) {
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    Transform m = identityTransform();
    at(m, 0, 0) = cosine;
    at(m, 2, 2) = cosine;
    at(m, 0, 2) = sine;
    at(m, 2, 0) = -sine;
    return m;
}

Transform rotationZ(double radians) {
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    Transform m = identityTransform();
    at(m, 0, 0) = cosine;
    at(m, 1, 1) = cosine;
    at(m, 1, 0) = sine;
    at(m, 0, 1) = -sine;
    return m;
}

Transform transformFromEulerPose(EulerPose p) {
    const Transform zy =
        multiply(rotationZ(p.a * degreesToRadians), rotationY(p.b * degreesToRadians));
    Transform m = multiply(zy, rotationX(p.c * degreesToRadians));
    at(m, 0, 3) = p.x;
    at(m, 1, 3) = p.y;
    at(m, 2, 3) = p.z;
    return m;
}

EulerPose eulerPoseFromTransform(Transform m) {
    EulerPose p;
    p.x = at(m, 0, 3);
    p.y = at(m, 1, 3);
    p.z = at(m, 2, 3);

    // The singular pitch: M(2,0) at or beyond +-1, or a first column whose
    // horizontal part is rounding noise. A quaternion of six or seven decimals
    // at B = +-90 gives M(2,0) an ulp or two off +-1, and atan2 of that noise
    // would turn a and c by up to 180 degrees. Anything else, however close,
    // takes the general path, where the clamp keeps asin defined. In the
    // singular case only a -+ c is determined; all of it goes into c.
    const double m20 = at(m, 2, 0);
    const bool pitchLocked =
        !(m20 < 1.0 && m20 > -1.0) || std::hypot(at(m, 0, 0), at(m, 1, 0)) < singularHorizontal;
    if (pitchLocked && m20 > 0.0) {
        p.a = 0.0;
        p.b = -90.0;
        p.c = std::atan2(-at(m, 0, 1), -at(m, 0, 2)) * radiansToDegrees;
    } else if (pitchLocked && m20 < 0.0) {
        p.a = 0.0;
        p.b = 90.0;
        p.c = std::atan2(at(m, 0, 1), at(m, 0, 2)) * radiansToDegrees;
    } else {
        p.a = std::atan2(at(m, 1, 0), at(m, 0, 0)) * radiansToDegrees;
        p.b = std::asin(clampToRange(m20, -1.0, 1.0)) * negativeRadiansToDegrees;
        p.c = std::atan2(at(m, 2, 1), at(m, 2, 2)) * radiansToDegrees;
    }
    // A level pitch is shown as 0, never -0; a and c keep the sign atan2 gave them.
    if (p.b == 0.0) {
        p.b = 0.0;
    }
    return p;
}

double clampToRange(double value, double lower, double upper) {
    if (value > upper) {
        return upper;
    }
    if (lower > value) {
        return lower;
    }
    return value;
}
