#include "robotfiles/program_model.h"

#include "math/euler_pose.h"
#include "math/quat_pose.h"

namespace {

constexpr WarningInfo warnings[] = {
    {WarningCode::configPlaceholder, "config-placeholder",
     "the point has no arm configuration of its own: the controller keeps the current posture; "
     "check or teach it on the target robot"},
    {WarningCode::nameAdapted, "name-adapted",
     "renamed to fit the target's rules for names (characters, case, length, collisions)"},
    {WarningCode::blendApproximated, "blend-approximated",
     "blending written through a --blend entry: the corner is rounded differently"},
    {WarningCode::blendDefault, "blend-default",
     "no --blend entry fits: the target's smallest blending, which keeps closest to the path"},
    {WarningCode::jointSpeedApproximated, "joint-speed-approximated",
     "joint speed to or from an ABB TCP speed through --joint-speed"},
    {WarningCode::jointSpeedRounded, "joint-speed-rounded",
     "joint speed rounded to a whole percent from 1 to 100"},
    {WarningCode::pathSpeedRounded, "path-speed-rounded",
     "path speed rounded to a whole mm/sec or cm/min"},
    {WarningCode::waitRounded, "wait-rounded", "wait time rounded to the target's resolution"},
    {WarningCode::pulseRounded, "pulse-rounded", "pulse length rounded to the target's resolution"},
    {WarningCode::ioNearBlend, "io-near-blend",
     "signal after a blended motion: it may switch earlier or later on the other controller"},
    {WarningCode::signalUnmapped, "signal-unmapped",
     "the signal is not in --signal: the line is kept as a comment"},
    {WarningCode::jointTargetKept, "joint-target-kept",
     "axis values belong to one robot model: kept as a comment"},
    {WarningCode::externalAxesKept, "external-axes-kept",
     "external axes or another motion group: kept as a comment"},
    {WarningCode::pointUntaughtKept, "point-untaught-kept",
     "the point is untaught, incomplete or no rotation: kept as a comment"},
    {WarningCode::pointUnknownKept, "point-unknown-kept",
     "the point is not declared in the program read: kept as a comment"},
    {WarningCode::speedKept, "speed-kept",
     "a speed the target cannot express, or none set: kept as a comment"},
    {WarningCode::blendKept, "blend-kept",
     "blending the rules do not know (unknown data, corner radius): kept as a comment"},
    {WarningCode::pulseKept, "pulse-kept",
     "a pulse without a length, or of the low level: kept as a comment"},
    {WarningCode::relativeMotionKept, "relative-motion-kept",
     "relative or offset motion: kept as a comment"},
    {WarningCode::splineKept, "spline-kept", "spline motion: kept as a comment"},
    {WarningCode::circleAngleKept, "circle-angle-kept",
     "circle with a circular angle (CA): kept as a comment"},
    {WarningCode::arcKept, "arc-kept", "FANUC arc (A) motion: kept as a comment"},
    {WarningCode::positionRegisterKept, "position-register-kept",
     "motion to a position register: kept as a comment"},
    {WarningCode::logicKept, "logic-kept",
     "branch, loop, label or jump, with every line inside it: kept as a comment"},
    {WarningCode::variableKept, "variable-kept",
     "variable, assignment or expression: kept as a comment"},
    {WarningCode::timeoutKept, "timeout-kept", "wait with a time-out: kept as a comment"},
    {WarningCode::triggerKept, "trigger-kept",
     "interrupt, trigger or motion-synchronous action: kept as a comment"},
    {WarningCode::technologyKept, "technology-kept",
     "technology instruction (arc, spot, search, weave): kept as a comment"},
    {WarningCode::frameDefinitionKept, "frame-definition-kept",
     "tool, base or work object definition or assignment: never written by a translation"},
    {WarningCode::callArgumentsKept, "call-arguments-kept",
     "call with arguments: kept as a comment"},
    {WarningCode::statementKept, "statement-kept",
     "a statement the reader does not model: kept as a comment"},
};

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::span<const WarningInfo> allWarnings() {
    return warnings;
}

const char* warningWord(WarningCode code) {
    for (const WarningInfo& info : warnings) {
        if (info.code == code) {
            return info.word;
        }
    }
    return "";
}

const char* dispositionName(Disposition disposition) {
    switch (disposition) {
    case Disposition::translated:
        return "translated";
    case Disposition::approximated:
        return "approximated";
    case Disposition::kept:
        return "kept";
    case Disposition::structural:
        return "structural";
    case Disposition::blank:
        return "blank";
    }
    return "";
}

bool setPose(Point& point, Vendor notation, std::span<const float> values) {
    const std::size_t expected = notation == Vendor::abb ? 7 : 6;
    if (values.size() != expected) {
        return false;
    }
    point.pose.notation = notation;
    for (std::size_t k = 0; k < 7; ++k) {
        point.pose.values[k] = k < values.size() ? values[k] : 0.0f;
    }
    const float* v = point.pose.values;
    switch (notation) {
    case Vendor::kuka:
        point.pose.matrix =
            transformFromEulerPose(makeEulerPose(v[0], v[1], v[2], v[3], v[4], v[5]));
        return true;
    case Vendor::fanuc:
        // W turns about X and R about Z: they are c and a.
        point.pose.matrix =
            transformFromEulerPose(makeEulerPose(v[0], v[1], v[2], v[5], v[4], v[3]));
        return true;
    case Vendor::abb: {
        QuatPose q = makeQuatPose(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
        if (!q.normalize()) {
            point.status = PointStatus::notUnit;
            return true;
        }
        point.pose.matrix = transformFromQuatPose(q);
        return true;
    }
    }
    return false;
}

bool eulerAsRead(const PoseValues& pose, float out[6]) {
    const float* v = pose.values;
    switch (pose.notation) {
    case Vendor::kuka:
        for (int k = 0; k < 6; ++k) {
            out[k] = v[k];
        }
        return true;
    case Vendor::fanuc: {
        const float kuka[6] = {v[0], v[1], v[2], v[5], v[4], v[3]};
        for (int k = 0; k < 6; ++k) {
            out[k] = kuka[k];
        }
        return true;
    }
    case Vendor::abb:
        return false;
    }
    return false;
}

bool quaternionAsRead(const PoseValues& pose, float out[7]) {
    if (pose.notation != Vendor::abb) {
        return false;
    }
    for (int k = 0; k < 7; ++k) {
        out[k] = pose.values[k];
    }
    return true;
}

std::string pointKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        c = upperAscii(c);
    }
    return key;
}

void addPoint(PointTable& table, std::string_view key, const Point& point) {
    table.points.insert_or_assign(pointKey(key), point);
}

const Point* findPoint(const PointTable& table, std::string_view key) {
    const auto found = table.points.find(pointKey(key));
    return found == table.points.end() ? nullptr : &found->second;
}

double pathMillimetresPerSecond(const Speed& speed) {
    const double value = static_cast<double>(speed.value);
    switch (speed.unit) {
    case PathUnit::metresPerSecond:
        return value * 1000.0;
    case PathUnit::millimetresPerSecond:
        return value;
    case PathUnit::centimetresPerMinute:
        return value * 10.0 / 60.0;
    }
    return value;
}
