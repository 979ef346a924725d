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
    if (!scene.memberSets.empty() && scene.memberSets.back() == members) {
        return static_cast<std::uint32_t>(scene.memberSets.size() - 1);
    }
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

std::uint32_t typeIndex(PlotScene& scene, const std::string& type) {
    // A run of poses mostly shares one type: look at the last one first.
    if (!scene.types.empty() && scene.types.back() == type) {
        return static_cast<std::uint32_t>(scene.types.size() - 1);
    }
    const auto found = std::find(scene.types.begin(), scene.types.end(), type);
    if (found != scene.types.end()) {
        return static_cast<std::uint32_t>(found - scene.types.begin());
    }
    scene.types.push_back(type);
    return static_cast<std::uint32_t>(scene.types.size() - 1);
}

const char* plotLeftOutName(PlotLeftOut reason, std::uint64_t count) {
    static const char* const names[plotLeftOutCount][2] = {
        {"joint position", "joint positions"},
        {"offset", "offsets"},
        {"zero initialisation", "zero initialisations"},
        {"assignment in code", "assignments in code"},
        {"pose of undecided use", "poses of undecided use"},
        {"pose of load data", "poses of load data"},
        {"member of another value", "members of other values"},
        {"system variable", "system variables"},
        {"pose without a position", "poses without a position"},
    };
    return names[static_cast<int>(reason)][count == 1 ? 0 : 1];
}

namespace {

// The member sets whose values the page turns itself, as math/ does: KUKA's
// Rz(A) Ry(B) Rx(C), FANUC's Rz(R) Ry(P) Rx(W), ABB's quaternion.
bool isVendorSet(const std::string& members) {
    return members == "X Y Z A B C" || members == "X Y Z W P R" || members == "X Y Z Q1 Q2 Q3 Q4";
}

} // namespace

void fillPlotPose(PlotPose& out, PlotScene& scene, std::uint32_t file, const PoseRecord& pose,
                  bool frame, const Notation* notation, bool forPage) {
    out.file = file;
    out.line = pose.line;
    out.name.assign(pose.name);
    out.comment.assign(pose.comment);
    out.type.assign(pose.type);
    out.status = pose.status;
    out.role = PlotRole::pose;
    out.frame = frame;
    out.placed = false;
    out.oriented = false;
    out.fromValues = false;
    out.hasFrom = false;
    std::fill(std::begin(out.position), std::end(out.position), 0.0);
    static const double identity[4] = {1, 0, 0, 0};
    std::copy(std::begin(identity), std::end(identity), out.rotation);

    thread_local std::string members;
    members.clear();
    int found = 0;
    for (const PoseMember& member : pose.values) {
        if (!members.empty()) {
            members += ' ';
        }
        for (const char c : member.key) {
            members += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        for (int axis = 0; axis < 3; ++axis) {
            if (member.key.size() == 1 && member.key[0] == "xyz"[axis]) {
                // A pose without an orientation is still drawn where its x, y and z say.
                out.position[axis] = member.value;
                found |= 1 << axis;
            }
        }
    }
    out.placed = found == 7;
    if (forPage && notation == nullptr && isVendorSet(members)) {
        out.fromValues = true;
        out.oriented = pose.status == PoseStatus::ok;
    } else {
        Transform m;
        if (transformOfRecord(pose, m)) {
            out.placed = true;
            out.oriented = true;
            const QuatPose q = quatPoseFromTransform(m);
            const double position[3] = {q.x, q.y, q.z};
            const double rotation[4] = {q.q1, q.q2, q.q3, q.q4};
            std::copy(std::begin(position), std::end(position), out.position);
            std::copy(std::begin(rotation), std::end(rotation), out.rotation);
            if (notation != nullptr) {
                out.members = memberSetIndex(scene, upper(notation->members));
                out.values.resize(static_cast<std::size_t>(notation->memberCount));
                notation->values(m, out.values.data());
                return;
            }
        }
    }
    out.members = memberSetIndex(scene, members);
    out.values.resize(pose.values.size());
    for (std::size_t k = 0; k < pose.values.size(); ++k) {
        out.values[k] = pose.values[k].value;
    }
}

std::vector<std::uint32_t> plotFileOrder(const PlotScene& scene) {
    std::vector<std::uint32_t> order(scene.files.size());
    for (std::uint32_t k = 0; k < order.size(); ++k) {
        order[k] = k;
    }
    std::stable_partition(order.begin(), order.end(),
                          [&](std::uint32_t file) { return scene.files[file].drawn > 0; });
    return order;
}

PlotPose plotPoseOf(PlotScene& scene, std::uint32_t file, const PoseRecord& pose, bool frame,
                    const Notation* notation) {
    PlotPose out;
    fillPlotPose(out, scene, file, pose, frame, notation, false);
    return out;
}

void layOutScene(PlotScene& scene, double axisLength) {
    std::fill(std::begin(scene.low), std::end(scene.low), 0.0);
    std::fill(std::begin(scene.high), std::end(scene.high), 0.0);
    const auto include = [&](const double* p) {
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
            return; // written as null: the page draws no such pose
        }
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
    sizeScene(scene, axisLength);
}

void sizeScene(PlotScene& scene, double axisLength) {
    double extent = smallestExtentMm;
    for (int axis = 0; axis < 3; ++axis) {
        extent = std::max(extent, scene.high[axis] - scene.low[axis]);
    }
    scene.axisLength = axisLength > 0.0 ? axisLength : roundUpNicely(extent * axisShare);
    scene.gridSpacing = roundUpNicely(extent / gridLines);
}
