#pragma once

// Point3 and Transform as Eigen's vectors and matrices, for this folder's
// .cpp files only: its headers speak Point3 and Transform, and Eigen's
// include folder is private to the library.
#include "calibration/point3.h"
#include "math/transform.h"

#include <Eigen/Core>

inline Eigen::Vector3d vectorOf(Point3 p) {
    return Eigen::Vector3d(p.x, p.y, p.z);
}
inline Point3 pointOf(const Eigen::Vector3d& v) {
    return {v.x(), v.y(), v.z()};
}

// Transform keeps its elements row-major.
using TransformView = Eigen::Matrix<double, 4, 4, Eigen::RowMajor>;

inline Eigen::Matrix3d rotationOf(const Transform& m) {
    return Eigen::Map<const TransformView>(m.e).topLeftCorner<3, 3>();
}
inline Transform transformOf(const Eigen::Matrix3d& rotation, const Eigen::Vector3d& translation) {
    Transform m = identityTransform();
    Eigen::Map<TransformView> view(m.e);
    view.topLeftCorner<3, 3>() = rotation;
    view.topRightCorner<3, 1>() = translation;
    return m;
}
