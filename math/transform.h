#pragma once

// A rigid transformation as a 4x4 homogeneous matrix of doubles, row-major:
// element (r, c) is e[4 * r + c]. Rotation in rows and columns 0 to 2,
// translation in millimetres in column 3, bottom row (0, 0, 0, 1).
// Points are column vectors, so multiply(A, B) applies B first.
struct Transform {
    double e[16] = {};
};

inline double& at(Transform& m, int row, int column) {
    return m.e[4 * row + column];
}
inline double at(const Transform& m, int row, int column) {
    return m.e[4 * row + column];
}

void setIdentity(Transform& m);
Transform identityTransform();

Transform multiply(Transform a, Transform b);
Transform transpose(Transform m);
double determinant(Transform m);
// The general inverse by the adjugate, bottom row included; a singular matrix
// yields infinite or not-a-number elements.
Transform inverse(Transform m);
Transform transformFromFloats(const float values[16]);
