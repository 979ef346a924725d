#pragma once

#include "math/transform.h"

#include <cmath>

// A point or a direction in millimetres, and the few operations the
// calibration methods need on it.
struct Point3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

inline Point3 operator+(Point3 a, Point3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Point3 operator-(Point3 a, Point3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Point3 operator*(double s, Point3 a) {
    return {s * a.x, s * a.y, s * a.z};
}
inline double dot(Point3 a, Point3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Point3 cross(Point3 a, Point3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Point3 a) {
    return std::sqrt(dot(a, a));
}
inline bool isFinite(Point3 a) {
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z);
}

// The translation column of a transformation, and the transformation of a point.
inline Point3 translationOf(const Transform& m) {
    return {at(m, 0, 3), at(m, 1, 3), at(m, 2, 3)};
}
inline Point3 apply(const Transform& m, Point3 p) {
    return {at(m, 0, 0) * p.x + at(m, 0, 1) * p.y + at(m, 0, 2) * p.z + at(m, 0, 3),
            at(m, 1, 0) * p.x + at(m, 1, 1) * p.y + at(m, 1, 2) * p.z + at(m, 1, 3),
            at(m, 2, 0) * p.x + at(m, 2, 1) * p.y + at(m, 2, 2) * p.z + at(m, 2, 3)};
}
// The rotation alone, applied to a direction.
inline Point3 rotate(const Transform& m, Point3 p) {
    return {at(m, 0, 0) * p.x + at(m, 0, 1) * p.y + at(m, 0, 2) * p.z,
            at(m, 1, 0) * p.x + at(m, 1, 1) * p.y + at(m, 1, 2) * p.z,
            at(m, 2, 0) * p.x + at(m, 2, 1) * p.y + at(m, 2, 2) * p.z};
}

// The frame whose axes are these orthonormal columns and whose origin is o.
inline Transform frameOfAxes(Point3 x, Point3 y, Point3 z, Point3 o) {
    Transform m = identityTransform();
    const Point3 columns[4] = {x, y, z, o};
    for (int c = 0; c < 4; ++c) {
        at(m, 0, c) = columns[c].x;
        at(m, 1, c) = columns[c].y;
        at(m, 2, c) = columns[c].z;
    }
    return m;
}
