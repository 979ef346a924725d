#include "calibration/rigid_fit.h"

#include "calibration/eigen_views.h"
#include "calibration/point_checks.h"
#include "calibration/symmetric_eigen.h"
#include "calibration/tolerances.h"

#include <Eigen/Geometry>
#include <Eigen/SVD>

#include <cmath>

namespace {

Point3 centroid(std::span<const Point3> points) {
    Point3 sum;
    for (const Point3& p : points) {
        sum = sum + p;
    }
    return (1.0 / static_cast<double>(points.size())) * sum;
}

// Whether a reflection would fit far better than the best rotation: with
// the singular values s1 >= s2 >= s3 of the cross-covariance, the best
// rotation leaves E - 2(s1 + s2 - s3) when its determinant is negative and
// the reflection E - 2(s1 + s2 + s3). Points in one plane have s3 = 0, and
// their mirror image is a rotation of them: no warning then, nor for points
// so nearly in one plane that a reflection gains a mere rounding error.
bool looksMirrored(const Eigen::Matrix3d& s, double spread) {
    if (s.determinant() >= 0.0) {
        return false;
    }
    const Eigen::Vector3d singular = Eigen::JacobiSVD<Eigen::Matrix3d>(s).singularValues();
    const double rotationLeft = spread - 2.0 * (singular(0) + singular(1) - singular(2));
    const double reflectionLeft = spread - 2.0 * (singular(0) + singular(1) + singular(2));
    // The points span 3D when their thinnest extent is a fair part of their
    // widest; the singular values grow with the square of the extents.
    const bool solid = singular(2) >= mirrorExtentRatio * mirrorExtentRatio * singular(0);
    return solid && reflectionLeft < 0.25 * rotationLeft;
}

} // namespace

RigidFit fitRigid(std::span<const Point3> nominal, std::span<const Point3> measured,
                  std::span<const std::string> names) {
    RigidFit fit;
    if (nominal.size() != measured.size() || names.size() != nominal.size()) {
        fit.refusal = "the nominal points are " + std::to_string(nominal.size()) +
                      ", the measured " + std::to_string(measured.size()) +
                      ": every point needs its counterpart";
        return fit;
    }
    if (nominal.size() < 3) {
        fit.refusal = "a fit needs at least 3 pairs of points, not on one line; there are " +
                      std::to_string(nominal.size()) +
                      (names.empty() ? std::string() : " (" + nameList(names) + ")");
        return fit;
    }
    // Two names at one spot are harmless in a least-squares fit (a real
    // program has them: an approach point taught on its target); only a frame
    // of three or four points is refused for them.
    if (!checkFinite(nominal, names, "nominal ", fit.refusal) ||
        !checkFinite(measured, names, "measured ", fit.refusal) ||
        !checkNotOnOneLine(nominal, names, "nominal ", fit.refusal) ||
        !checkNotOnOneLine(measured, names, "measured ", fit.refusal)) {
        return fit;
    }

    const Point3 cn = centroid(nominal);
    const Point3 cm = centroid(measured);
    Eigen::Matrix3d s = Eigen::Matrix3d::Zero();
    double spread = 0.0; // the sum of both sets' squared distances from their centroids
    for (std::size_t k = 0; k < nominal.size(); ++k) {
        const Point3 a = nominal[k] - cn;
        const Point3 b = measured[k] - cm;
        s += vectorOf(a) * vectorOf(b).transpose();
        spread += dot(a, a) + dot(b, b);
    }
    // Horn's symmetric matrix: its largest eigenvalue's vector is the
    // quaternion (w, x, y, z) of the best rotation.
    const double n[16] = {s(0, 0) + s(1, 1) + s(2, 2),
                          s(1, 2) - s(2, 1),
                          s(2, 0) - s(0, 2),
                          s(0, 1) - s(1, 0),
                          s(1, 2) - s(2, 1),
                          s(0, 0) - s(1, 1) - s(2, 2),
                          s(0, 1) + s(1, 0),
                          s(2, 0) + s(0, 2),
                          s(2, 0) - s(0, 2),
                          s(0, 1) + s(1, 0),
                          -s(0, 0) + s(1, 1) - s(2, 2),
                          s(1, 2) + s(2, 1),
                          s(0, 1) - s(1, 0),
                          s(2, 0) + s(0, 2),
                          s(1, 2) + s(2, 1),
                          -s(0, 0) - s(1, 1) + s(2, 2)};
    const SymmetricEigen eigen = symmetricEigen(n, 4);
    const double* q = eigen.vectors[0];
    const Eigen::Matrix3d rotation =
        Eigen::Quaterniond(q[0], q[1], q[2], q[3]).normalized().toRotationMatrix();
    fit.frame = transformOf(rotation, vectorOf(cm) - rotation * vectorOf(cn));
    fit.mirrored = looksMirrored(s, spread);

    double squares = 0.0;
    double sum = 0.0;
    for (std::size_t k = 0; k < nominal.size(); ++k) {
        const double r = length(apply(fit.frame, nominal[k]) - measured[k]);
        fit.residuals.push_back(r);
        squares += r * r;
        sum += r;
        if (r > fit.max) {
            fit.max = r;
            fit.worst = k;
        }
    }
    const double count = static_cast<double>(nominal.size());
    fit.rms = std::sqrt(squares / count);
    fit.mean = sum / count;
    fit.ok = true;
    return fit;
}
