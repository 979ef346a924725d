#include "calibration/tool_fit.h"

#include "calibration/eigen_views.h"
#include "calibration/point_checks.h"
#include "calibration/tolerances.h"

#include <Eigen/Geometry>
#include <Eigen/SVD>

#include <algorithm>
#include <cmath>

namespace {

bool isFiniteTransform(const Transform& m) {
    return std::all_of(std::begin(m.e), std::end(m.e), [](double v) { return std::isfinite(v); });
}

// The angle of the rotation that turns a into b, in degrees.
double angleBetweenDeg(const Transform& a, const Transform& b) {
    const Eigen::Matrix3d relative = rotationOf(a).transpose() * rotationOf(b);
    // acos is ill-conditioned near 0: the sine from the antisymmetric part is not.
    const double sine =
        0.5 * Eigen::Vector3d(relative(2, 1) - relative(1, 2), relative(0, 2) - relative(2, 0),
                              relative(1, 0) - relative(0, 1))
                  .norm();
    return std::atan2(sine, 0.5 * (relative.trace() - 1.0)) * degreesPerRadian;
}

// The direction from the axis pose's flange toward the reference pose's,
// in flange coordinates; false with the reason.
bool axisDirection(const AxisPose& axis, const Transform& reference, const std::string& refName,
                   Point3& direction, std::string& refusal) {
    if (!isFiniteTransform(axis.pose)) {
        refusal = axis.name + " has a value that is not finite";
        return false;
    }
    const double turned = angleBetweenDeg(axis.pose, reference);
    if (turned > sameOrientationDeg) {
        refusal = axis.name + " is turned by " + decimalText(turned, 3) + " deg from " + refName +
                  ": it must keep that pose's orientation (at most 0.1 deg)";
        return false;
    }
    const Point3 world = translationOf(reference) - translationOf(axis.pose);
    if (length(world) < coincidentMm) {
        refusal = axis.name + " and " + refName + " are closer than 1e-6 mm: move along the axis";
        return false;
    }
    direction = pointOf(rotationOf(reference).transpose() * vectorOf(world).normalized());
    return true;
}

// The smallest rotation that turns the flange's Z onto z: the tool's X then
// stays as near the flange's X as it can.
void orientAlongZ(Point3 z, Point3& x, Point3& y) {
    const Eigen::Vector3d axis = Eigen::Vector3d::UnitZ().cross(vectorOf(z));
    // Along the flange's Z, or against it, there is no such axis: then the
    // tool keeps the flange's X, turned about it if need be.
    x = Point3{1, 0, 0};
    if (axis.norm() >= 1e-15) {
        const Eigen::AngleAxisd turn(std::atan2(axis.norm(), z.z), axis.normalized());
        x = pointOf(turn * Eigen::Vector3d::UnitX());
    }
    y = cross(z, x);
}

} // namespace

ToolFit fitTool(std::span<const Transform> poses, std::span<const std::string> names,
                const ToolFitSettings& settings) {
    ToolFit fit;
    const std::size_t n = poses.size();
    if (names.size() != n) {
        fit.refusal = "every pose needs its name";
        return fit;
    }
    if (settings.xPose.given && !settings.zPose.given) {
        fit.refusal = "an X pose needs a Z pose: the X axis is made perpendicular to Z";
        return fit;
    }
    if (n < 4) {
        fit.refusal = "a tool needs at least 4 poses on one fixed point; there are " +
                      std::to_string(n) + (n == 0 ? std::string() : " (" + nameList(names) + ")");
        return fit;
    }
    for (std::size_t k = 0; k < n; ++k) {
        if (!isFiniteTransform(poses[k])) {
            fit.refusal = "pose " + names[k] + " has a value that is not finite";
            return fit;
        }
    }
    // q drops out: with R and p their means, (R_i - R) t = -(p_i - p) in the
    // least-squares sense. The singular values of the stacked R_i - R are
    // the orientations' spread, and the same decomposition solves for t.
    const double count = static_cast<double>(n);
    Eigen::Matrix3d meanR = Eigen::Matrix3d::Zero();
    Eigen::Vector3d meanP = Eigen::Vector3d::Zero();
    for (const Transform& pose : poses) {
        meanR += rotationOf(pose) / count;
        meanP += vectorOf(translationOf(pose)) / count;
    }
    Eigen::MatrixXd stacked(3 * n, 3);
    Eigen::VectorXd right(3 * n);
    for (std::size_t k = 0; k < n; ++k) {
        stacked.middleRows<3>(3 * k) = rotationOf(poses[k]) - meanR;
        right.segment<3>(3 * k) = meanP - vectorOf(translationOf(poses[k]));
    }
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(stacked, Eigen::ComputeThinU | Eigen::ComputeThinV);
    const double root = std::sqrt(count);
    int narrow = 0;
    std::string narrowText;
    for (int k = 0; k < 3; ++k) {
        fit.spreadDeg[k] =
            2.0 * std::asin(std::min(1.0, svd.singularValues()(k) / root)) * degreesPerRadian;
        // A direction's sign is the decomposition's choice: its largest
        // member made positive, so that a refusal names one axis one way.
        Eigen::Vector3d axis = svd.matrixV().col(k);
        Eigen::Index largest = 0;
        axis.cwiseAbs().maxCoeff(&largest);
        fit.spreadAxis[k] = pointOf(axis(largest) < 0.0 ? Eigen::Vector3d(-axis) : axis);
        if (!(fit.spreadDeg[k] >= settings.minSpreadDeg)) {
            ++narrow;
            narrowText += (narrowText.empty() ? "" : ", ") + decimalText(fit.spreadDeg[k], 2);
        }
    }
    if (narrow >= 2) {
        fit.refusal = "the orientations of " + nameList(names) +
                      " are too alike: they spread by only " + narrowText +
                      " deg in two directions (--min-spread " +
                      decimalText(settings.minSpreadDeg, 2) + "): tilt the tool further";
        return fit;
    }
    if (narrow == 1) {
        const Point3 a = fit.spreadAxis[2];
        fit.refusal = "every pose of " + nameList(names) + " is turned about one axis (" +
                      decimalText(a.x, 3) + ", " + decimalText(a.y, 3) + ", " +
                      decimalText(a.z, 3) +
                      " in flange coordinates): the TCP is undefined along it; tilt the tool "
                      "about another axis too";
        return fit;
    }
    const Point3 t = pointOf(svd.solve(right));
    for (const Transform& pose : poses) {
        fit.fixedPoint = fit.fixedPoint + (1.0 / count) * apply(pose, t);
    }
    double sum = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        const double e = length(apply(poses[k], t) - fit.fixedPoint);
        fit.errors.push_back(e);
        sum += e;
        if (e > fit.max) {
            fit.max = e;
            fit.worst = k;
        }
    }
    fit.mean = sum / count;

    Point3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
    if (settings.zPose.given) {
        if (settings.reference >= n) {
            fit.refusal = "the reference pose is number " + std::to_string(settings.reference + 1) +
                          " of " + std::to_string(n);
            return fit;
        }
        const Transform& reference = poses[settings.reference];
        const std::string& refName = names[settings.reference];
        if (!axisDirection(settings.zPose, reference, refName, z, fit.refusal)) {
            return fit;
        }
        if (settings.xPose.given) {
            Point3 towardX;
            if (!axisDirection(settings.xPose, reference, refName, towardX, fit.refusal)) {
                return fit;
            }
            const Point3 perpendicular = towardX - dot(towardX, z) * z;
            if (length(perpendicular) <= collinearRatio) {
                fit.refusal = settings.xPose.name + " lies on the Z axis drawn from " +
                              settings.zPose.name + ": it gives no X direction";
                return fit;
            }
            x = (1.0 / length(perpendicular)) * perpendicular;
            y = cross(z, x);
        } else {
            orientAlongZ(z, x, y);
        }
    }
    fit.tool = frameOfAxes(x, y, z, t);
    fit.ok = true;
    return fit;
}
