#include "calibration/tool_fit.h"

#include "calibration/point_checks.h"
#include "calibration/symmetric_eigen.h"
#include "calibration/tolerances.h"

#include <algorithm>
#include <cmath>

namespace {

bool isFiniteTransform(const Transform& m) {
    return std::all_of(std::begin(m.e), std::end(m.e), [](double v) { return std::isfinite(v); });
}

// The angle of the rotation that turns a into b, in degrees.
double angleBetweenDeg(const Transform& a, const Transform& b) {
    double trace = 0.0;
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 3; ++k) {
            trace += at(a, k, r) * at(b, k, r);
        }
    }
    // acos is ill-conditioned near 0: the sine from the antisymmetric part is not.
    const Transform relative = multiply(transpose(a), b);
    const double sine = 0.5 * length(Point3{at(relative, 2, 1) - at(relative, 1, 2),
                                            at(relative, 0, 2) - at(relative, 2, 0),
                                            at(relative, 1, 0) - at(relative, 0, 1)});
    return std::atan2(sine, 0.5 * (trace - 1.0)) * degreesPerRadian;
}

Point3 transposedRotate(const Transform& m, Point3 p) {
    return {at(m, 0, 0) * p.x + at(m, 1, 0) * p.y + at(m, 2, 0) * p.z,
            at(m, 0, 1) * p.x + at(m, 1, 1) * p.y + at(m, 2, 1) * p.z,
            at(m, 0, 2) * p.x + at(m, 1, 2) * p.y + at(m, 2, 2) * p.z};
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
    direction = (1.0 / length(world)) * transposedRotate(reference, world);
    return true;
}

// The smallest rotation that turns the flange's Z onto z: the tool's X then
// stays as near the flange's X as it can.
void orientAlongZ(Point3 z, Point3& x, Point3& y) {
    const Point3 flangeZ{0, 0, 1};
    const Point3 axis = cross(flangeZ, z);
    const double sine = length(axis);
    const double cosine = dot(flangeZ, z);
    if (sine < 1e-15) {
        // Along the flange's Z, or against it: then turned about the flange's X.
        x = Point3{1, 0, 0};
        y = cross(z, x);
        return;
    }
    const Point3 k = (1.0 / sine) * axis;
    const Point3 e{1, 0, 0};
    // Rodrigues: e cos + (k x e) sin + k (k . e)(1 - cos).
    x = cosine * e + sine * cross(k, e) + (dot(k, e) * (1.0 - cosine)) * k;
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
    // least-squares sense, whose normal matrix M'M has the squared singular
    // values of the stacked R_i - R, the orientations' spread.
    Transform meanR;
    Point3 meanP;
    for (const Transform& pose : poses) {
        for (int k = 0; k < 16; ++k) {
            meanR.e[k] += pose.e[k] / static_cast<double>(n);
        }
        meanP = meanP + (1.0 / static_cast<double>(n)) * translationOf(pose);
    }
    double normal[9] = {};
    double right[3] = {};
    for (const Transform& pose : poses) {
        const Point3 d = translationOf(pose) - meanP;
        const double dv[3] = {d.x, d.y, d.z};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                const double a = at(pose, r, c) - at(meanR, r, c);
                right[c] -= a * dv[r];
                for (int k = 0; k < 3; ++k) {
                    normal[3 * c + k] += a * (at(pose, r, k) - at(meanR, r, k));
                }
            }
        }
    }
    const SymmetricEigen eigen = symmetricEigen(normal, 3);
    const double root = std::sqrt(static_cast<double>(n));
    int narrow = 0;
    std::string narrowText;
    for (int k = 0; k < 3; ++k) {
        const double s = std::sqrt(std::max(eigen.values[k], 0.0));
        fit.spreadDeg[k] = 2.0 * std::asin(std::min(1.0, s / root)) * degreesPerRadian;
        fit.spreadAxis[k] = Point3{eigen.vectors[k][0], eigen.vectors[k][1], eigen.vectors[k][2]};
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
    Point3 t;
    for (int k = 0; k < 3; ++k) {
        const Point3 v = fit.spreadAxis[k];
        const double weight = (v.x * right[0] + v.y * right[1] + v.z * right[2]) / eigen.values[k];
        t = t + weight * v;
    }
    for (const Transform& pose : poses) {
        fit.fixedPoint = fit.fixedPoint + (1.0 / static_cast<double>(n)) * apply(pose, t);
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
    fit.mean = sum / static_cast<double>(n);

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
