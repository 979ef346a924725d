#pragma once

#include "math/transform.h"

#include <cmath>
#include <numbers>

// How far apart two poses are: the distance between their origins and the
// angle of the rotation that turns one into the other. Poses written with
// other but equivalent angles come out 0 apart, whatever their notation.

// The distance between the translations, in millimetres.
inline double translationDistance(const Transform& a, const Transform& b) {
    const double dx = at(b, 0, 3) - at(a, 0, 3);
    const double dy = at(b, 1, 3) - at(a, 1, 3);
    const double dz = at(b, 2, 3) - at(a, 2, 3);
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The angle of the relative rotation R_a^T * R_b in degrees, 0 to 180. The
// sine (from the skew part) and the cosine (from the trace) both enter
// atan2, so that neither tiny angles nor angles near 180 lose their digits
// as an arccosine of the trace alone would.
inline double relativeRotationDegrees(const Transform& a, const Transform& b) {
    // Element (i, j) of R_a^T * R_b.
    const auto relative = [&](int i, int j) {
        return at(a, 0, i) * at(b, 0, j) + at(a, 1, i) * at(b, 1, j) + at(a, 2, i) * at(b, 2, j);
    };
    const double sx = relative(2, 1) - relative(1, 2);
    const double sy = relative(0, 2) - relative(2, 0);
    const double sz = relative(1, 0) - relative(0, 1);
    const double twiceSine = std::sqrt(sx * sx + sy * sy + sz * sz);
    const double twiceCosine = relative(0, 0) + relative(1, 1) + relative(2, 2) - 1.0;
    return std::atan2(twiceSine, twiceCosine) * (180.0 / std::numbers::pi);
}
