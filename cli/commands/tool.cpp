#include "calibration/tool_fit.h"
#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/taught_points.h"
#include "cli/output/calibration_output.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdio>

namespace {

std::string figuresText(const std::vector<TaughtPose>& poses, const ToolFit& fit,
                        const ToolOptions& options, std::size_t reference) {
    std::size_t width = 4;
    for (const TaughtPose& pose : poses) {
        width = std::max(width, pose.name.size());
    }
    std::string text = fmt::format("tool from {} poses: mean {} mm, max {} mm at {}\n",
                                   poses.size(), mm(fit.mean), mm(fit.max), poses[fit.worst].name);
    text += fmt::format("  fixed point: X {} Y {} Z {}\n", mm(fit.fixedPoint.x),
                        mm(fit.fixedPoint.y), mm(fit.fixedPoint.z));
    text += fmt::format("  orientation spread: {} deg, {} deg, {} deg\n", degrees(fit.spreadDeg[0]),
                        degrees(fit.spreadDeg[1]), degrees(fit.spreadDeg[2]));
    if (options.zPose.empty()) {
        text += "  orientation: the flange's (no --z-pose)\n";
    } else {
        text +=
            fmt::format("  orientation: +Z from --z-pose{} toward {}\n",
                        options.xPose.empty() ? "" : ", +X from --x-pose", poses[reference].name);
    }
    text += fmt::format("  {:<{}}  {:>8}  {}\n", "POSE", width, "ERROR_MM", "SOURCE");
    for (std::size_t k = 0; k < poses.size(); ++k) {
        text += fmt::format("  {:<{}}  {:>8}  {}\n", poses[k].name, width, mm(fit.errors[k]),
                            poses[k].source);
    }
    return text;
}

std::string jsonText(const std::vector<TaughtPose>& poses, const ToolFit& fit,
                     const std::vector<const Notation*>& notations, const ToolOptions& options,
                     std::size_t reference) {
    JsonText json;
    jsonOpen(json, '{');
    jsonKey(json, "command");
    jsonString(json, "tool");
    jsonFrame(json, notations, fit.tool);
    jsonKey(json, "fixed_point");
    jsonPoint(json, fit.fixedPoint);
    jsonKey(json, "mean_mm");
    jsonNumber(json, fit.mean);
    jsonKey(json, "max_mm");
    jsonNumber(json, fit.max);
    jsonKey(json, "worst");
    jsonString(json, poses[fit.worst].name);
    jsonKey(json, "spread_deg");
    jsonOpen(json, '[');
    for (double spread : fit.spreadDeg) {
        jsonItem(json);
        jsonNumber(json, spread);
    }
    jsonClose(json, ']');
    jsonKey(json, "oriented");
    jsonBool(json, !options.zPose.empty());
    jsonKey(json, "reference");
    jsonString(json, poses[reference].name);
    jsonKey(json, "max_error_mm");
    if (options.maxErrorMm) {
        jsonNumber(json, *options.maxErrorMm);
    } else {
        json.text += "null";
    }
    jsonKey(json, "poses");
    jsonOpen(json, '[');
    for (std::size_t k = 0; k < poses.size(); ++k) {
        jsonItem(json);
        jsonOpen(json, '{');
        jsonKey(json, "name");
        jsonString(json, poses[k].name);
        jsonKey(json, "source");
        jsonString(json, poses[k].source);
        jsonKey(json, "error_mm");
        jsonNumber(json, fit.errors[k]);
        jsonKey(json, "position");
        jsonPoint(json, poses[k].position);
        jsonClose(json, '}');
    }
    jsonClose(json, ']');
    jsonClose(json, '}');
    return json.text + "\n";
}

// A --z-pose or --x-pose, resolved; false with a message.
bool axisPose(const std::string& text, const char* option, AxisPose& axis, std::string& message) {
    if (text.empty()) {
        return true;
    }
    TaughtPose taught;
    if (!resolvePointArgument(text, true, taught, message)) {
        message = std::string(option) + ": " + message;
        return false;
    }
    axis.given = true;
    axis.pose = taught.pose;
    axis.name = std::string(option) + " " + taught.name;
    return true;
}

} // namespace

int runTool(const ToolOptions& options) {
    std::string message;
    std::vector<TaughtPose> poses;
    ToolFitSettings settings;
    settings.minSpreadDeg = options.minSpreadDeg;
    const bool resolved = !(options.maxErrorMm && !(*options.maxErrorMm >= 0.0)) &&
                          resolvePoints(options.poses.given, options.poses.pointsPath,
                                        options.poses.select, true, poses, message) &&
                          axisPose(options.zPose, "--z-pose", settings.zPose, message) &&
                          axisPose(options.xPose, "--x-pose", settings.xPose, message);
    if (!resolved) {
        if (message.empty()) {
            message = "--max-error: millimetres must be 0 or more";
        }
        std::fprintf(stderr, "posebridge-cli: %s\n", message.c_str());
        return exitTrouble;
    }
    // ABB's own routines take the last approach point as the one the Z and
    // X poses were moved from.
    settings.reference = options.reference ? *options.reference - 1 : poses.size() - 1;
    if (options.reference && (*options.reference < 1 || *options.reference > poses.size())) {
        std::fprintf(stderr, "posebridge-cli: --reference %zu: there are %zu poses\n",
                     *options.reference, poses.size());
        return exitTrouble;
    }
    std::vector<Transform> transforms;
    std::vector<std::string> names;
    for (const TaughtPose& pose : poses) {
        transforms.push_back(pose.pose);
        names.push_back(pose.name);
    }
    const ToolFit fit = fitTool(transforms, names, settings);
    if (!fit.ok) {
        std::fprintf(stderr, "posebridge-cli: tool: refused: %s\n", fit.refusal.c_str());
        return exitTrouble;
    }
    const std::vector<const Notation*> notations =
        frameNotations(options.notations, vendorOfPoints(poses));
    const std::string out = options.format == OutputFormat::json
                                ? jsonText(poses, fit, notations, options, settings.reference)
                                : frameText(notations, fit.tool);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    if (options.format != OutputFormat::json) {
        std::fputs(figuresText(poses, fit, options, settings.reference).c_str(), stderr);
    }
    bool met = true;
    for (std::size_t k = 0; options.maxErrorMm && k < poses.size(); ++k) {
        if (fit.errors[k] > *options.maxErrorMm) {
            std::fprintf(stderr, "posebridge-cli: %s (%s mm): error above --max-error %s mm\n",
                         poses[k].name.c_str(), mm(fit.errors[k]).c_str(),
                         shortestDouble(*options.maxErrorMm).c_str());
            met = false;
        }
    }
    return met ? exitDone : exitBoundNotMet;
}
