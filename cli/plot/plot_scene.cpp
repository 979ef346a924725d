#include "cli/plot/plot_scene.h"

#include "math/quat_pose.h"
#include "robotfiles/pose_matrix.h"

#include <algorithm>
#include <cmath>

namespace {

// A pose's triad is this share of the largest extent of the points, so that
// neighbouring points of a path do not overlap while the cell stays visible.
constexpr double axisShare = 0.03;
// Points that all stand in one place still get a triad and a grid.
constexpr double smallestExtentMm = 100.0;
// About this many grid lines across the largest extent.
constexpr double gridLines = 12.0;

std::string upper(std::string text) {
    for (char& c : text) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

// 1, 2 or 5 times a power of ten, the first at or above the value.
double roundUpNicely(double value) {
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= value * (1.0 - 1e-12)) {
            return step * power;
        }
    }
    return 10.0 * power;
}

} // namespace

std::uint32_t memberSetIndex(PlotScene& scene, const std::string& members) {
    const auto found = std::find(scene.memberSets.begin(), scene.memberSets.end(), members);
    if (found != scene.memberSets.end()) {
        return static_cast<std::uint32_t>(found - scene.memberSets.begin());
    }
    scene.memberSets.push_back(members);
    return static_cast<std::uint32_t>(scene.memberSets.size() - 1);
}

const char* plotRoleName(PlotRole role) {
    switch (role) {
    case PlotRole::pose:
        return "pose";
    case PlotRole::unchanged:
        return "unchanged";
    case PlotRole::moved:
        return "moved";
    case PlotRole::added:
        return "added";
    case PlotRole::removed:
        return "removed";
    case PlotRole::changed:
        return "changed";
    case PlotRole::nominal:
        return "nominal";
    case PlotRole::measured:
        return "measured";
    }
    return "pose";
}

PlotPose plotPoseOf(PlotScene& scene, std::uint32_t file, const PoseRecord& pose, bool frame,
                    const Notation* notation) {
    PlotPose out;
    out.file = file;
    out.line = pose.line;
    out.name = pose.name;
    out.comment = pose.comment;
    out.type = pose.type;
    out.status = pose.status;
    out.frame = frame;
    Transform m;
    if (transformOfRecord(pose, m)) {
        out.placed = true;
        out.oriented = true;
        const QuatPose q = quatPoseFromTransform(m);
        const double position[3] = {q.x, q.y, q.z};
        const double rotation[4] = {q.q1, q.q2, q.q3, q.q4};
        std::copy(std::begin(position), std::end(position), out.position);
        std::copy(std::begin(rotation), std::end(rotation), out.rotation);
    } else {
        // A pose without an orientation is still drawn where its x, y and z say.
        int found = 0;
        for (const PoseMember& member : pose.values) {
            for (int axis = 0; axis < 3; ++axis) {
                if (member.key.size() == 1 && member.key[0] == "xyz"[axis]) {
                    out.position[axis] = member.value;
                    found |= 1 << axis;
                }
            }
        }
        out.placed = found == 7;
    }
    if (notation != nullptr && out.oriented) {
        out.members = memberSetIndex(scene, upper(notation->members));
        out.values.resize(static_cast<std::size_t>(notation->memberCount));
        notation->values(m, out.values.data());
    } else {
        std::string members;
        for (const PoseMember& member : pose.values) {
            if (!members.empty()) {
                members += ' ';
            }
            members += upper(member.key);
            out.values.push_back(member.value);
        }
        out.members = memberSetIndex(scene, members);
    }
    return out;
}

void layOutScene(PlotScene& scene, double axisLength) {
    std::fill(std::begin(scene.low), std::end(scene.low), 0.0);
    std::fill(std::begin(scene.high), std::end(scene.high), 0.0);
    const auto include = [&](const double* p) {
        for (int axis = 0; axis < 3; ++axis) {
            scene.low[axis] = std::min(scene.low[axis], p[axis]);
            scene.high[axis] = std::max(scene.high[axis], p[axis]);
        }
    };
    for (const PlotPose& pose : scene.poses) {
        if (pose.placed) {
            include(pose.position);
        }
        if (pose.hasFrom) {
            include(pose.from);
        }
        scene.largestMove = pose.role == PlotRole::moved
                                ? std::max(scene.largestMove, pose.distanceMm)
                                : scene.largestMove;
    }
    double extent = smallestExtentMm;
    for (int axis = 0; axis < 3; ++axis) {
        extent = std::max(extent, scene.high[axis] - scene.low[axis]);
    }
    scene.axisLength = axisLength > 0.0 ? axisLength : roundUpNicely(extent * axisShare);
    scene.gridSpacing = roundUpNicely(extent / gridLines);
}
