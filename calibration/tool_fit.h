#pragma once

#include "calibration/point3.h"
#include "calibration/tolerances.h"
#include "math/transform.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// The TCP from N >= 4 flange poses (taught with tool0) that put the tool's
// tip on one fixed point: least squares over R_i t + p_i = q, the unknowns
// the TCP t in flange coordinates and the fixed point q.

// A pose moved from the reference pose without reorienting, so that the
// fixed tip lies on the tool's +Z (or +X) axis, as ABB's TCP & Z and
// TCP & Z,X methods take it.
struct AxisPose {
    bool given = false;
    Transform pose;
    std::string name;
};

struct ToolFitSettings {
    double minSpreadDeg = defaultMinSpreadDeg;
    AxisPose zPose;
    AxisPose xPose;            // needs zPose
    std::size_t reference = 0; // the pose the axis poses were moved from
};

struct ToolFit {
    bool ok = false;
    std::string refusal; // naming the poses, when !ok
    Transform tool;      // in flange coordinates; the flange's orientation without axis poses
    Point3 fixedPoint;   // q, in the poses' frame
    std::vector<double> errors; // |R_i t + p_i - q| in mm, in the order given
    double mean = 0.0, max = 0.0;
    std::size_t worst = 0;
    // How far the orientations spread in three directions, largest first
    // (2 asin(s_k / sqrt(N)) from the singular values s_k of the stacked
    // R_i - mean R), and each direction in flange coordinates, its largest
    // member positive.
    double spreadDeg[3] = {};
    Point3 spreadAxis[3];
};

ToolFit fitTool(std::span<const Transform> poses, std::span<const std::string> names,
                const ToolFitSettings& settings);
