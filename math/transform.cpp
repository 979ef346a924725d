#include "math/transform.h"

#include "math/adjugate_inverse.h"

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
    const double firstRow[4] = {adjugate::cofactor(m, 0, 0), adjugate::cofactor(m, 0, 1),
                                adjugate::cofactor(m, 0, 2), adjugate::cofactor(m, 0, 3)};
    return adjugate::expandFirstRow(m, firstRow);
}

Transform inverse(Transform m) {
    return adjugate::inverseByAdjugate(m);
}

Transform transformFromFloats(const float values[16]) {
    Transform m;
    for (int i = 0; i < 16; ++i) {
        m.e[i] = static_cast<double>(values[i]);
    }
    return m;
}
