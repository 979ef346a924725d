#include "calibration/tolerances.h"
#include "calibration/tool_fit.h"
#include "cli/commands/calibration_arguments.h"
#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/taught_points.h"
#include "cli/output/calibration_output.h"
#include "cli/output/json_writer.h"
#include "cli/output/messages.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdio>

namespace {

struct ToolOptions {
    PointArguments poses;
    std::string zPose; // empty: the flange's orientation
    std::string xPose;
    std::optional<std::size_t> reference; // 1-based; the last pose by default
    double minSpreadDeg = defaultMinSpreadDeg;
    std::optional<double> maxErrorMm;
    std::vector<std::string> notations;
    OutputFormat format = OutputFormat::table;
};

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

std::string toolJson(const std::vector<TaughtPose>& poses, const ToolFit& fit,
                     const std::vector<const Notation*>& notations, const ToolOptions& options,
                     std::size_t reference) {
    nlohmann::ordered_json json;
    json["command"] = "tool";
    addFrameJson(json, notations, fit.tool);
    json["fixed_point"] = pointJson(fit.fixedPoint);
    json["mean_mm"] = fit.mean;
    json["max_mm"] = fit.max;
    json["worst"] = poses[fit.worst].name;
    json["spread_deg"] = fit.spreadDeg;
    json["oriented"] = !options.zPose.empty();
    json["reference"] = poses[reference].name;
    json["max_error_mm"] =
        options.maxErrorMm ? nlohmann::ordered_json(*options.maxErrorMm) : nullptr;
    json["poses"] = nlohmann::ordered_json::array();
    for (std::size_t k = 0; k < poses.size(); ++k) {
        json["poses"].push_back({{"name", poses[k].name},
                                 {"source", poses[k].source},
                                 {"error_mm", fit.errors[k]},
                                 {"position", pointJson(poses[k].position)}});
    }
    return jsonText(json) + "\n";
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
        printError("{}", message);
        return exitTrouble;
    }
    // ABB's own routines take the last approach point as the one the Z and
    // X poses were moved from.
    settings.reference = options.reference ? *options.reference - 1 : poses.size() - 1;
    if (options.reference && (*options.reference < 1 || *options.reference > poses.size())) {
        printError("--reference {}: there are {} poses", *options.reference, poses.size());
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
        printError("tool: refused: {}{}", fit.refusal, whereNamed(fit.refusal, poses));
        return exitTrouble;
    }
    const std::vector<const Notation*> notations =
        frameNotations(options.notations, vendorOfPoints(poses));
    const std::string out = options.format == OutputFormat::json
                                ? toolJson(poses, fit, notations, options, settings.reference)
                                : frameText(notations, fit.tool);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    if (options.format != OutputFormat::json) {
        std::fputs(figuresText(poses, fit, options, settings.reference).c_str(), stderr);
    }
    bool met = true;
    for (std::size_t k = 0; options.maxErrorMm && k < poses.size(); ++k) {
        if (fit.errors[k] > *options.maxErrorMm) {
            printError("{} ({} mm): error above --max-error {} mm", poses[k].name,
                       mm(fit.errors[k]), shortestDouble(*options.maxErrorMm));
            met = false;
        }
    }
    return met ? exitDone : exitBoundNotMet;
}

ToolOptions given;
double maxError = 0.0;
std::size_t reference = 0;
CLI::Option* maxErrorOption = nullptr;
CLI::Option* referenceOption = nullptr;

const char* const examples = R"(Examples:
  posebridge-cli tool TCP_tSpindleSensor.mod:pTCP_Point1 TCP_tSpindleSensor.mod:pTCP_Point2 \
      TCP_tSpindleSensor.mod:pTCP_Point3 TCP_tSpindleSensor.mod:pTCP_Point4
  posebridge-cli tool --points TCP_tSpindleSensor.mod --select "pTCP_Point*" \
      --z-pose TCP_tSpindleSensor.mod:pTCP_Z --max-error 0.3

Teach N >= 4 flange poses with the tool zero (KUKA $TOOL = $NULLFRAME, ABB
tool0, FANUC UTOOL 0) that put the tool's tip on one fixed point from
different directions. The TCP t and the fixed point q solve R_i t + p_i = q in
the least-squares sense; each pose's distance |R_i t + p_i - q| is its error.
Orientation as ABB's TCP & Z and TCP & Z,X: from the reference pose (the last
of the N, or --reference K), move without reorienting so that the fixed tip
lies on the tool's +Z axis (--z-pose) and +X axis (--x-pose). Without them
the tool's orientation is the flange's (A = B = C = 0).
Exit status:
  0  done
  1  an error above --max-error (the poses named)
  2  a usage error, poses that define no TCP (orientations too alike, or all
     turned about one axis), or a Z or X pose turned from the reference pose
)";

void addOptions(CLI::App& command, ChoiceTable& choices) {
    addPointOptions(command, given.poses, "the flange poses");
    command
        .add_option("--z-pose", given.zPose,
                    "the reference pose moved, not reoriented, so that the tip lies on +Z")
        ->type_name("POSE");
    command.add_option("--x-pose", given.xPose, "likewise on +X (needs --z-pose)")
        ->type_name("POSE");
    referenceOption =
        command
            .add_option("--reference", reference,
                        "the pose (1 to N) the Z and X poses were moved from (default N)")
            ->type_name("K");
    command
        .add_option("--min-spread", given.minSpreadDeg,
                    fmt::format("refuse orientations that spread less than this in a direction "
                                "(default {})",
                                defaultMinSpreadDeg))
        ->type_name("DEG");
    maxErrorOption =
        command
            .add_option("--max-error", maxError, "exit status 1 when a pose's error is above this")
            ->type_name("MM");
    addFrameOutputOptions(command, choices, given.notations, given.format);
    command.footer(std::string(examples) + "\n" + pointForms);
}

int run(const CommandContext&) {
    if (maxErrorOption->count() > 0) {
        given.maxErrorMm = maxError;
    }
    if (referenceOption->count() > 0) {
        given.reference = reference;
    }
    return runTool(given);
}

} // namespace

const Command toolCommand = {
    "tool", "A tool's TCP from 4 or more flange poses (taught with tool0) on one fixed point.",
    addOptions, run};
