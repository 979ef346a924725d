#include "math/quat_pose.h"

#include "math/adjugate_inverse.h"

#include <cmath>

namespace {

// The norm must lie strictly inside this window for the quaternion to count as
// a unit quaternion; the window applies to the norm itself, not to its square.
constexpr double unitNormLower = 0.999995;
constexpr double unitNormUpper = 1.000005;

} // namespace

bool QuatPose::normalize() {
    const double n = std::sqrt(((q1 * q1 + q2 * q2) + q3 * q3) + q4 * q4);
    const bool verdict = n > unitNormLower && n < unitNormUpper;
    // Divided whatever the verdict, so the stored quaternion is always of unit
    // length; a zero quaternion becomes not-a-number, and its false verdict
    // keeps every caller from using it.
    q1 /= n;
    q2 /= n;
    q3 /= n;
    q4 /= n;
    unitLength = verdict;
    return verdict;
}

QuatPose makeQuatPose(float x, float y, float z, float q1, float q2, float q3, float q4) {
    QuatPose p;
    p.x = x;
    p.y = y;
    p.z = z;
    p.q1 = q1;
    p.q2 = q2;
    p.q3 = q3;
    p.q4 = q4;
    p.normalize();
    return p;
}

Transform transformFromQuatPose(QuatPose p) {
    const double w = p.q1;
    const double x = p.q2;
    const double y = p.q3;
    const double z = p.q4;
    auto twice = [](double a, double b) { return (2.0 * a) * b; };

    // F is the transpose of the quaternion's rotation; its general inverse
    // gives the rotation itself.
    Transform f;
    at(f, 0, 0) = (1.0 - twice(y, y)) - twice(z, z);
    at(f, 0, 1) = twice(x, y) + twice(w, z);
    at(f, 0, 2) = twice(x, z) - twice(w, y);
    at(f, 1, 0) = twice(x, y) - twice(w, z);
    at(f, 1, 1) = (1.0 - twice(x, x)) - twice(z, z);
    at(f, 1, 2) = twice(y, z) + twice(w, x);
    at(f, 2, 0) = twice(x, z) + twice(w, y);
    at(f, 2, 1) = twice(y, z) - twice(w, x);
    at(f, 2, 2) = (1.0 - twice(x, x)) - twice(y, y);
    at(f, 3, 3) = 1.0;

    Transform m = adjugate::inverseByAdjugate(f);
    at(m, 0, 3) = p.x;
    at(m, 1, 3) = p.y;
    at(m, 2, 3) = p.z;
    return m;
}

QuatPose quatPoseFromTransform(Transform m) {
    QuatPose p;
    p.x = at(m, 0, 3);
    p.y = at(m, 1, 3);
    p.z = at(m, 2, 3);

    Transform rotation = m;
    at(rotation, 0, 3) = 0.0;
    at(rotation, 1, 3) = 0.0;
    at(rotation, 2, 3) = 0.0;
    const Transform inv = adjugate::inverseByAdjugate(rotation);
    auto i = [&](int r, int c) { return at(inv, r, c); };

    // The comparisons are strict, so ties fall to the later branch. No sign
    // rule follows: the component a branch solves for comes out positive, and
    // the displayed ABB quaternion is the one these branches select.
    const double t = ((i(1, 1) + i(0, 0)) + i(2, 2)) + 1.0;
    if (t > 0.01) {
        const double s = 2.0 * std::sqrt(t);
        p.q1 = s * 0.25;
        p.q2 = (i(1, 2) - i(2, 1)) / s;
        p.q3 = (i(2, 0) - i(0, 2)) / s;
        p.q4 = (i(0, 1) - i(1, 0)) / s;
    } else if (i(0, 0) > i(1, 1) && i(0, 0) > i(2, 2)) {
        const double s = 2.0 * std::sqrt(((i(0, 0) + 1.0) - i(1, 1)) - i(2, 2));
        p.q1 = (i(1, 2) - i(2, 1)) / s;
        p.q2 = s * 0.25;
        p.q3 = (i(0, 1) + i(1, 0)) / s;
        p.q4 = (i(2, 0) + i(0, 2)) / s;
    } else if (i(1, 1) > i(2, 2)) {
        const double s = 2.0 * std::sqrt(((i(1, 1) + 1.0) - i(0, 0)) - i(2, 2));
        p.q1 = (i(2, 0) - i(0, 2)) / s;
        p.q2 = (i(0, 1) + i(1, 0)) / s;
        p.q3 = s * 0.25;
        p.q4 = (i(1, 2) + i(2, 1)) / s;
    } else {
        const double s = 2.0 * std::sqrt(((i(2, 2) + 1.0) - i(0, 0)) - i(1, 1));
        p.q1 = (i(0, 1) - i(1, 0)) / s;
        p.q2 = (i(2, 0) + i(0, 2)) / s;
        p.q3 = (i(1, 2) + i(2, 1)) / s;
        p.q4 = s * 0.25;
    }
    p.normalize();
    return p;
}
