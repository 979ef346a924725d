#include "cli/plot/plot_fit.h"

#include "calibration/rigid_fit.h"
#include "cli/inputs/fit_pairs.h"
#include "math/quat_pose.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace {

// The largest residual is drawn about this share of the points' extent long:
// long enough to see which way it points, short enough to stay beside it.
constexpr double residualShare = 0.15;

// 1, 2 or 5 times a power of ten, the last at or below the value; 1 at least.
double roundDownNicely(double value) {
    if (!(value > 1.0)) {
        return 1.0;
    }
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * power <= value) {
            return step * power;
        }
    }
    return power;
}

// "FILE:LINE" split at its last colon (a Windows path has one of its own).
void splitSource(const std::string& source, std::string& file, std::uint64_t& line) {
    const std::size_t colon = source.rfind(':');
    file = source.substr(0, colon);
    line = 0;
    for (std::size_t k = colon + 1; colon != std::string::npos && k < source.size(); ++k) {
        if (isDigitByte(source[k])) {
            line = line * 10 + static_cast<std::uint64_t>(source[k] - '0');
        }
    }
}

std::uint32_t fileIndex(PlotScene& scene, const std::string& file) {
    for (std::size_t k = 0; k < scene.files.size(); ++k) {
        if (scene.files[k].shown == file) {
            return static_cast<std::uint32_t>(k);
        }
    }
    scene.files.push_back(PlotFile{file, vendorOfPath(file).value_or(Vendor::kuka)});
    return static_cast<std::uint32_t>(scene.files.size() - 1);
}

// A point of the fit, shown with its own coordinates, drawn at `at`.
PlotPose pointPose(PlotScene& scene, const std::string& source, const std::string& name,
                   PlotRole role, Point3 own, Point3 at) {
    PlotPose pose;
    std::string file;
    splitSource(source, file, pose.line);
    pose.file = fileIndex(scene, file);
    pose.name = name;
    pose.type = "point";
    pose.role = role;
    pose.placed = true;
    pose.position[0] = at.x;
    pose.position[1] = at.y;
    pose.position[2] = at.z;
    pose.members = memberSetIndex(scene, "X Y Z");
    pose.values = {own.x, own.y, own.z};
    return pose;
}

Point3 applied(const Transform& m, Point3 p) {
    return {at(m, 0, 0) * p.x + at(m, 0, 1) * p.y + at(m, 0, 2) * p.z + at(m, 0, 3),
            at(m, 1, 0) * p.x + at(m, 1, 1) * p.y + at(m, 1, 2) * p.z + at(m, 1, 3),
            at(m, 2, 0) * p.x + at(m, 2, 1) * p.y + at(m, 2, 2) * p.z + at(m, 2, 3)};
}

} // namespace

bool buildFitScene(const PlotOptions& options, PlotScene& scene, std::string& message) {
    std::vector<FitPair> pairs;
    if (!matchFitPairs(options.paths[0], options.paths[1], options.select, options.exclude, pairs,
                       message)) {
        return false;
    }
    const RigidFit fit = fitPairs(pairs);
    if (!fit.ok) {
        message = "fit refused: " + fit.refusal;
        return false;
    }

    // The measured points where they are; the nominal ones where the fitted
    // frame puts them, so that each residual runs from one to the other.
    double low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const Point3 predicted = applied(fit.frame, pairs[k].nominal);
        scene.poses.push_back(pointPose(scene, pairs[k].nominalSource, pairs[k].name,
                                        PlotRole::nominal, pairs[k].nominal, predicted));
        PlotPose point = pointPose(scene, pairs[k].measuredSource, pairs[k].name,
                                   PlotRole::measured, pairs[k].measured, pairs[k].measured);
        point.hasFrom = true;
        point.from[0] = predicted.x;
        point.from[1] = predicted.y;
        point.from[2] = predicted.z;
        point.distanceMm = fit.residuals[k];
        scene.poses.push_back(std::move(point));
        const double p[3] = {pairs[k].measured.x, pairs[k].measured.y, pairs[k].measured.z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], p[axis]);
            high[axis] = std::max(high[axis], p[axis]);
        }
    }

    PlotPose frame;
    frame.file = fileIndex(scene, options.paths[1]);
    frame.name = "fitted frame";
    frame.type = "frame";
    frame.frame = true;
    frame.placed = true;
    frame.oriented = true;
    const QuatPose q = quatPoseFromTransform(fit.frame);
    const double position[3] = {q.x, q.y, q.z};
    const double rotation[4] = {q.q1, q.q2, q.q3, q.q4};
    std::copy(std::begin(position), std::end(position), frame.position);
    std::copy(std::begin(rotation), std::end(rotation), frame.rotation);
    const Notation* notation = findNotation(options.notation.empty() ? "kuka" : options.notation);
    std::string members = notation->members;
    for (char& c : members) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    frame.members = memberSetIndex(scene, members);
    frame.values.resize(static_cast<std::size_t>(notation->memberCount));
    notation->values(fit.frame, frame.values.data());
    scene.poses.push_back(std::move(frame));

    double extent = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        extent = std::max(extent, high[axis] - low[axis]);
    }
    scene.magnification = fit.max > 0.0 ? roundDownNicely(residualShare * extent / fit.max) : 1.0;
    scene.worst = pairs[fit.worst].name;
    scene.rms = fit.rms;
    scene.mean = fit.mean;
    scene.max = fit.max;
    scene.title = options.paths[0] + " -> " + options.paths[1];
    scene.summary =
        fmt::format("fit of {} pairs: rms {:.3f} mm, mean {:.3f} mm, max {:.3f} mm at {}{}",
                    pairs.size(), fit.rms, fit.mean, fit.max, scene.worst,
                    fit.mirrored ? "; warning: the measured points are a mirror "
                                   "image of the nominal ones"
                                 : "");
    return true;
}
