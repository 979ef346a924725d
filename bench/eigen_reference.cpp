#include "bench/eigen_reference.h"

#include <Eigen/Dense>
#include <Eigen/Geometry>

namespace {

using Matrix = Eigen::Matrix<double, 4, 4, Eigen::RowMajor>;
using ConstMap = Eigen::Map<const Matrix>;
using Map = Eigen::Map<Matrix>;

constexpr double degreesToRadians = 0.017453292519943295;
constexpr double radiansToDegrees = 57.29577951308232;

// Same tolerances as the program's validation.
constexpr double absoluteTolerance = 0.001;
constexpr double relativeFactor = 1.001;

} // namespace

Transform eigenMultiply(const Transform& a, const Transform& b) {
    Transform product;
    Map(product.e).noalias() = ConstMap(a.e) * ConstMap(b.e);
    return product;
}

Transform eigenInverse(const Transform& m) {
    Transform result;
    Map(result.e) = ConstMap(m.e).inverse();
    return result;
}

Transform eigenTransformFromQuatPose(const QuatPose& p) {
    const Eigen::Quaterniond q(p.q1, p.q2, p.q3, p.q4);
    Transform result;
    Map m(result.e);
    m.topLeftCorner<3, 3>() = q.toRotationMatrix();
    m.topRightCorner<3, 1>() = Eigen::Vector3d(p.x, p.y, p.z);
    m.row(3) << 0.0, 0.0, 0.0, 1.0;
    return result;
}

QuatPose eigenQuatPoseFromTransform(const Transform& m) {
    const ConstMap matrix(m.e);
    const Eigen::Matrix3d rotation = matrix.topLeftCorner<3, 3>();
    Eigen::Quaterniond q(rotation);
    QuatPose p;
    p.x = m.e[3];
    p.y = m.e[7];
    p.z = m.e[11];
    const double n = q.norm();
    p.unitLength = n > 0.999995 && n < 1.000005;
    q.coeffs() /= n;
    p.q1 = q.w();
    p.q2 = q.x();
    p.q3 = q.y();
    p.q4 = q.z();
    return p;
}

Transform eigenTransformFromEulerPose(const EulerPose& p) {
    const Eigen::Matrix3d rotation =
        (Eigen::AngleAxisd(p.a * degreesToRadians, Eigen::Vector3d::UnitZ()) *
         Eigen::AngleAxisd(p.b * degreesToRadians, Eigen::Vector3d::UnitY()) *
         Eigen::AngleAxisd(p.c * degreesToRadians, Eigen::Vector3d::UnitX()))
            .toRotationMatrix();
    Transform result;
    Map m(result.e);
    m.topLeftCorner<3, 3>() = rotation;
    m.topRightCorner<3, 1>() = Eigen::Vector3d(p.x, p.y, p.z);
    m.row(3) << 0.0, 0.0, 0.0, 1.0;
    return result;
}

EulerPose eigenEulerPoseFromTransform(const Transform& m) {
    const ConstMap matrix(m.e);
    const Eigen::Matrix3d rotation = matrix.topLeftCorner<3, 3>();
    const Eigen::Vector3d angles = rotation.eulerAngles(2, 1, 0) * radiansToDegrees;
    EulerPose p;
    p.x = m.e[3];
    p.y = m.e[7];
    p.z = m.e[11];
    p.a = angles[0];
    p.b = angles[1];
    p.c = angles[2];
    return p;
}

// The program's three tests, in its order, with Eigen's operations: bottom
// row, inverse against transpose by magnitude, third column against the cross
// product of the first two.
bool eigenIsRigidTransform(const Transform& m) {
    const ConstMap matrix(m.e);
    if (!matrix.allFinite() || (matrix.row(3).head<3>().array().abs() > absoluteTolerance).any()) {
        return false;
    }
    Matrix block = matrix;
    block.topRightCorner<3, 1>().setZero();
    block.bottomLeftCorner<1, 3>().setZero();
    const Eigen::Array<double, 4, 4> t = block.transpose().array().abs();
    const Eigen::Array<double, 4, 4> i = block.inverse().array().abs();
    if (!i.allFinite() || (i > relativeFactor * t + absoluteTolerance).any() ||
        (t > relativeFactor * i + absoluteTolerance).any()) {
        return false;
    }
    const Eigen::Vector3d cross = matrix.col(0).head<3>().cross(matrix.col(1).head<3>());
    return ((cross - matrix.col(2).head<3>()).array().abs() < absoluteTolerance).all();
}
