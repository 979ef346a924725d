#include "calibration/point_frame.h"

#include "calibration/point_checks.h"
#include "calibration/tolerances.h"

#include <algorithm>
#include <cmath>

namespace {

const FrameMethodInfo methods[] = {
    {FrameMethod::kuka,
     "kuka",
     3,
     {"origin", "a point on +X", "a point in the XY plane, +Y side"},
     "KUKA base, 3-point"},
    {FrameMethod::fanuc,
     "fanuc",
     3,
     {"origin", "X direction point", "Y direction point"},
     "FANUC user frame, three point method"},
    {FrameMethod::fanuc4,
     "fanuc4",
     4,
     {"X start point", "X direction point", "Y direction point", "origin point"},
     "FANUC user frame, four point method (the origin as taught)"},
    {FrameMethod::abb,
     "abb",
     3,
     {"X1", "X2", "Y1"},
     "ABB work object, 3 points (the origin the foot of Y1 on the line X1-X2)"},
};

} // namespace

std::span<const FrameMethodInfo> allFrameMethods() {
    return methods;
}

const FrameMethodInfo* findFrameMethod(const std::string& name) {
    for (const FrameMethodInfo& info : methods) {
        if (name == info.name) {
            return &info;
        }
    }
    return nullptr;
}

PointFrame framePoints(FrameMethod method, std::span<const Point3> points,
                       std::span<const std::string> names) {
    PointFrame result;
    const FrameMethodInfo& info = methods[static_cast<int>(method)];
    if (points.size() != info.points || names.size() != points.size()) {
        result.refusal = std::string("--method ") + info.name + " takes " +
                         std::to_string(info.points) + " points, not " +
                         std::to_string(points.size());
        return result;
    }
    // The first three points define the axes; FANUC's fourth, the origin,
    // may well be taught on one of them.
    const std::span<const Point3> axisPoints = points.first(3);
    const std::span<const std::string> axisNames = names.first(3);
    if (!checkFinite(points, names, "", result.refusal) ||
        !checkDistinct(axisPoints, axisNames, "", result.refusal)) {
        return result;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            result.distances.push_back(PointDistance{i, j, length(points[i] - points[j])});
        }
    }
    const Point3 start = points[0];
    const Point3 along = points[1] - start;
    const Point3 plane = points[2] - start;
    const Point3 x = (1.0 / length(along)) * along;
    const Point3 normal = cross(x, plane);
    result.planeDistance = length(normal);
    const double span = std::max(length(along), length(plane));
    if (result.planeDistance <= collinearRatio * span) {
        result.refusal = "points " + nameList(axisNames) + " lie on one line: " + names[2] +
                         " must stand off the line from " + names[0] + " to " + names[1];
        return result;
    }
    const Point3 toStart = points[0] - points[2];
    const Point3 toAlong = points[1] - points[2];
    result.planeAngleDeg =
        std::atan2(length(cross(toStart, toAlong)), dot(toStart, toAlong)) * degreesPerRadian;

    // Y is measured from the origin point, which FANUC's four-point method
    // teaches on its own.
    const Point3 yStart = method == FrameMethod::fanuc4 ? points[3] : start;
    const Point3 measuredY = points[2] - yStart;
    result.axesAngleDeg =
        std::atan2(length(cross(along, measuredY)), dot(along, measuredY)) * degreesPerRadian;

    const Point3 z = (1.0 / result.planeDistance) * normal;
    const Point3 y = cross(z, x);
    Point3 origin = start;
    if (method == FrameMethod::fanuc4) {
        // Taught as it is, not projected onto the plane of the other three.
        origin = points[3];
    } else if (method == FrameMethod::abb) {
        // The foot of the perpendicular from Y1 onto the line X1-X2.
        origin = start + dot(plane, x) * x;
    }
    result.frame = frameOfAxes(x, y, z, origin);
    result.ok = true;
    return result;
}
