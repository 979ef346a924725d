#include "math/transform.h"

namespace {

// Determinant of the 3x3 matrix left when row skipRow and column skipColumn
// are struck from m, expanded along its first row.
double minorDeterminant(const Transform& m, int skipRow, int skipColumn) {
    int rows[3];
    int columns[3];
    for (int i = 0, r = 0, c = 0; i < 4; ++i) {
        if (i != skipRow) {
            rows[r++] = i;
        }
        if (i != skipColumn) {
            columns[c++] = i;
        }
    }
    auto e = [&](int r, int c) { return at(m, rows[r], columns[c]); };
    return e(0, 0) * (e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1)) -
           e(0, 1) * (e(1, 0) * e(2, 2) - e(1, 2) * e(2, 0)) +
           e(0, 2) * (e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
}

double cofactor(const Transform& m, int row, int column) {
    const double minor = minorDeterminant(m, row, column);
    return (row + column) % 2 == 0 ? minor : -minor;
}

} // namespace

void setIdentity(Transform& m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            at(m, r, c) = r == c ? 1.0 : 0.0;
        }
    }
}

Transform identityTransform() {
    Transform m;
    setIdentity(m);
    return m;
}

Transform multiply(Transform a, Transform b) {
    Transform product;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            // Summed left to right, so both builds give the same last bits.
            at(product, i, j) = ((at(a, i, 0) * at(b, 0, j) + at(a, i, 1) * at(b, 1, j)) +
                                 at(a, i, 2) * at(b, 2, j)) +
                                at(a, i, 3) * at(b, 3, j);
        }
    }
    return product;
}

Transform transpose(Transform m) {
    Transform t;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            at(t, c, r) = at(m, r, c);
        }
    }
    return t;
}

double determinant(Transform m) {
    // Laplace expansion along the first row; the bottom row counts like any other.
    return ((at(m, 0, 0) * cofactor(m, 0, 0) + at(m, 0, 1) * cofactor(m, 0, 1)) +
            at(m, 0, 2) * cofactor(m, 0, 2)) +
           at(m, 0, 3) * cofactor(m, 0, 3);
}

Transform inverse(Transform m) {
    // No test of the determinant: a singular matrix yields infinite or
    // not-a-number elements by IEEE arithmetic, and the orthogonality test
    // relies on seeing them.
    const double r = 1.0 / determinant(m);
    Transform result;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            at(result, i, j) = cofactor(m, j, i) * r;
        }
    }
    return result;
}

Transform transformFromFloats(const float values[16]) {
    Transform m;
    for (int i = 0; i < 16; ++i) {
        m.e[i] = static_cast<double>(values[i]);
    }
    return m;
}
