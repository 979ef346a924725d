#include "math/matrix_validation.h"

#include <cmath>

namespace {

// Tolerances of every test below: an absolute allowance and a relative factor.
constexpr double absoluteTolerance = 0.001;
constexpr double relativeFactor = 1.001;

bool allFinite(const Transform& m) {
    for (double value : m.e) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool isRigidTransform(Transform m) {
    // The comparisons below are all false for not-a-number, so such a matrix
    // would otherwise slip through wherever it is not looked at.
    if (!allFinite(m)) {
        return false;
    }
    // Exactly 0.001 passes; M(3,3) is judged by the orthogonality test.
    for (int c = 0; c < 3; ++c) {
        if (std::fabs(at(m, 3, c)) > absoluteTolerance) {
            return false;
        }
    }
    if (!isOrthogonal(m)) {
        return false;
    }
    return isRightHanded(m);
}

bool isOrthogonal(Transform m) {
    // M(3,3) stays, so it must be of magnitude 1 to match its own inverse.
    for (int r = 0; r < 3; ++r) {
        at(m, r, 3) = 0.0;
        at(m, 3, r) = 0.0;
    }
    return magnitudesMatch(transpose(m), inverse(m));
}

bool isRightHanded(Transform m) {
    auto e = [&](int r, int c) { return at(m, r, c); };
    return nearlyEqual(e(0, 2), e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0)) &&
           nearlyEqual(e(1, 2), e(0, 1) * e(2, 0) - e(0, 0) * e(2, 1)) &&
           nearlyEqual(e(2, 2), e(0, 0) * e(1, 1) - e(0, 1) * e(1, 0));
}

bool magnitudesMatch(Transform p, Transform q) {
    // Only magnitudes are compared: a sign difference alone never fails.
    for (int i = 0; i < 16; ++i) {
        const double pm = std::fabs(p.e[i]);
        const double qm = std::fabs(q.e[i]);
        if (std::isnan(pm) || std::isnan(qm)) {
            return false;
        }
        if (qm > relativeFactor * pm + absoluteTolerance) {
            return false;
        }
        if (pm > relativeFactor * qm + absoluteTolerance) {
            return false;
        }
    }
    return true;
}

bool nearlyEqual(double a, double b) {
    return (a - absoluteTolerance) < b && b < (a + absoluteTolerance);
}

const wchar_t* matrixRejectionMessage(Transform m) {
    // Not the order of isRigidTransform: a matrix failing both the bottom-row
    // and the orthogonality test is reported as not orthogonal.
    if (!isOrthogonal(m)) {
        return L"Rotation matrix not orthogonal";
    }
    if (!isRightHanded(m)) {
        return L"Transformation not right handed";
    }
    return L"Invalid transformation matrix";
}
