#pragma once

#include "calibration/point3.h"
#include "math/transform.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// The vendors' own point methods for a base, user frame or work object, as
// their pendants define them.
enum class FrameMethod { kuka, fanuc, fanuc4, abb };

struct FrameMethodInfo {
    FrameMethod method;
    const char* name;     // the word of --method
    std::size_t points;   // how many points it takes
    const char* roles[4]; // what each point is, in order
    const char* meaning;  // what the pendant calls it, for --help
};

std::span<const FrameMethodInfo> allFrameMethods();
const FrameMethodInfo* findFrameMethod(const std::string& name);

struct PointDistance {
    std::size_t a = 0, b = 0; // indices of the two points
    double mm = 0.0;
};

struct PointFrame {
    bool ok = false;
    std::string refusal;                  // naming the points, when !ok
    Transform frame;                      // axes as columns, origin as the translation
    std::vector<PointDistance> distances; // between every two points
    double planeDistance = 0.0;           // of the plane point from the X line, mm
    // The triangle's angle at the plane point's corner: the smaller, the less
    // certain the Y axis.
    double planeAngleDeg = 0.0;
    // The angle between the measured X direction and the measured Y direction
    // where they start (the origin; for ABB, X1): 90 when the points were
    // taught square, the first thing a user checks.
    double axesAngleDeg = 0.0;
};

PointFrame framePoints(FrameMethod method, std::span<const Point3> points,
                       std::span<const std::string> names);
