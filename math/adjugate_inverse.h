#pragma once

// The general 4x4 inverse by the adjugate, defined inline for the callers in
// math/ that invert a matrix they have just built: there the compiler sees
// the zeros and ones of the bottom row and the translation column and drops
// the products by 1 and the subtractions of +0, which change no bit of any
// result (not even the sign of a zero). Everyone else calls inverse().

#include "math/transform.h"

namespace adjugate {

// The rows (or columns) that remain when row (or column) k is struck out.
inline constexpr int remaining[4][3] = {{1, 2, 3}, {0, 2, 3}, {0, 1, 3}, {0, 1, 2}};

// Determinant of the 3x3 matrix left when row skipRow and column skipColumn
// are struck from m, expanded along its first row.
inline double minorDeterminant(const Transform& m, int skipRow, int skipColumn) {
    const int* rows = remaining[skipRow];
    const int* columns = remaining[skipColumn];
    auto e = [&](int r, int c) { return at(m, rows[r], columns[c]); };
    return e(0, 0) * (e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1)) -
           e(0, 1) * (e(1, 0) * e(2, 2) - e(1, 2) * e(2, 0)) +
           e(0, 2) * (e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
}

inline double cofactor(const Transform& m, int row, int column) {
    const double minor = minorDeterminant(m, row, column);
    return (row + column) % 2 == 0 ? minor : -minor;
}

// Laplace expansion along the first row; the bottom row counts like any other.
inline double expandFirstRow(const Transform& m, const double* firstRowCofactors) {
    return ((at(m, 0, 0) * firstRowCofactors[0] + at(m, 0, 1) * firstRowCofactors[1]) +
            at(m, 0, 2) * firstRowCofactors[2]) +
           at(m, 0, 3) * firstRowCofactors[3];
}

inline Transform inverseByAdjugate(const Transform& m) {
    // Each cofactor is formed once: the inverse needs all sixteen and its
    // determinant the first row's again. Unrolled, every index is a constant,
    // and the compiler shares the 2x2 products between the minors; without
    // the unrolling the loop costs about four times as many instructions.
    double cofactors[16];
#pragma GCC unroll 16
    for (int k = 0; k < 16; ++k) {
        cofactors[k] = cofactor(m, k / 4, k % 4);
    }
    // No test of the determinant: a singular matrix yields infinite or
    // not-a-number elements by IEEE arithmetic, and the orthogonality test
    // relies on seeing them. One division, then only multiplications.
    const double r = 1.0 / expandFirstRow(m, cofactors);
    Transform result;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            at(result, i, j) = cofactors[4 * j + i] * r;
        }
    }
    return result;
}

} // namespace adjugate
