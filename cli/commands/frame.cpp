#include "calibration/point_frame.h"
#include "cli/commands/calibration_arguments.h"
#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/taught_points.h"
#include "cli/output/calibration_output.h"
#include "cli/output/json_writer.h"
#include "cli/output/messages.h"

#include <fmt/format.h>

#include <cstdio>

namespace {

struct FrameOptions {
    std::string method; // a name of allFrameMethods()
    PointArguments points;
    std::vector<std::string> notations; // --to
    OutputFormat format = OutputFormat::table;
};

std::string figuresText(const FrameMethodInfo& info, const std::vector<TaughtPose>& points,
                        const PointFrame& result) {
    std::string text = fmt::format("frame --method {} from {} points:\n", info.name, points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        text += fmt::format("  {:<24} {} ({})\n", points[k].name, info.roles[k], points[k].source);
    }
    for (const PointDistance& d : result.distances) {
        text += fmt::format("  distance {} to {}: {} mm\n", points[d.a].name, points[d.b].name,
                            mm(d.mm));
    }
    text += fmt::format("  {} stands {} mm off the X line; the angle at {} (the plane point) is "
                        "{} deg\n",
                        points[2].name, mm(result.planeDistance), points[2].name,
                        degrees(result.planeAngleDeg));
    text += fmt::format("  the measured X and Y directions meet at {} deg at {} (90 is square)\n",
                        degrees(result.axesAngleDeg),
                        info.method == FrameMethod::fanuc4 ? points[3].name : points[0].name);
    return text;
}

std::string frameJson(const FrameMethodInfo& info, const std::vector<TaughtPose>& points,
                      const PointFrame& result, const std::vector<const Notation*>& notations) {
    nlohmann::ordered_json json;
    json["command"] = "frame";
    json["method"] = info.name;
    addFrameJson(json, notations, result.frame);
    json["distances"] = nlohmann::ordered_json::array();
    for (const PointDistance& d : result.distances) {
        json["distances"].push_back(
            {{"from", points[d.a].name}, {"to", points[d.b].name}, {"mm", d.mm}});
    }
    json["plane_distance_mm"] = result.planeDistance;
    json["plane_angle_deg"] = result.planeAngleDeg;
    json["axes_angle_deg"] = result.axesAngleDeg;
    json["points"] = nlohmann::ordered_json::array();
    for (std::size_t k = 0; k < points.size(); ++k) {
        json["points"].push_back({{"name", points[k].name},
                                  {"role", info.roles[k]},
                                  {"source", points[k].source},
                                  {"position", pointJson(points[k].position)}});
    }
    return jsonText(json) + "\n";
}

int runFrame(const FrameOptions& options) {
    const FrameMethodInfo* info = findFrameMethod(options.method);
    std::vector<TaughtPose> points;
    std::string message;
    if (info == nullptr) {
        message = "--method " + options.method + ": not a method";
    } else if (resolvePoints(options.points.given, options.points.pointsPath, options.points.select,
                             false, points, message)) {
        std::vector<Point3> positions;
        std::vector<std::string> names;
        for (const TaughtPose& point : points) {
            positions.push_back(point.position);
            names.push_back(point.name);
        }
        const PointFrame result = framePoints(info->method, positions, names);
        if (result.ok) {
            const std::vector<const Notation*> notations =
                frameNotations(options.notations, vendorOfPoints(points));
            const std::string out = options.format == OutputFormat::json
                                        ? frameJson(*info, points, result, notations)
                                        : frameText(notations, result.frame);
            std::fwrite(out.data(), 1, out.size(), stdout);
            std::fflush(stdout);
            if (options.format != OutputFormat::json) {
                std::fputs(figuresText(*info, points, result).c_str(), stderr);
            }
            return exitDone;
        }
        message = "frame --method " + options.method + ": refused: " + result.refusal +
                  whereNamed(result.refusal, points);
    }
    printError("{}", message);
    return exitTrouble;
}

FrameOptions given;

const char* const examples = R"(Examples:
  posebridge-cli frame --method kuka Get3Basepoints.dat:gfMeasPoint[1] \
      Get3Basepoints.dat:gfMeasPoint[2] Get3Basepoints.dat:gfMeasPoint[3]
  posebridge-cli frame --method fanuc4 --points UFRAME3.LS --select "P[*]"
  posebridge-cli frame --method abb --to abb,kuka 100,0,0 400,0,0 250,200,0
  posebridge-cli frame --method kuka --format json --points base.dat --select "XBASE*"

X from the first point toward the second, Z = X x (third - first), Y = Z x X.
The frame goes to standard output, its figures (distances, how far the plane
point stands off the X line, the triangle's angle at the plane point, and the
angle at which the measured X and Y directions meet at the origin, 90 when
taught square) to standard error.
Exit status:
  0  done
  2  a usage error, or points that define no frame (the points named)
)";

// The methods from their table: what each is and its points in order.
std::string methodsText() {
    std::string text = "Methods:\n";
    for (const FrameMethodInfo& info : allFrameMethods()) {
        text += fmt::format("  {:<7} {}:\n          ", info.name, info.meaning);
        for (std::size_t k = 0; k < info.points; ++k) {
            text += fmt::format("{}{}", k == 0 ? "" : "; ", info.roles[k]);
        }
        text += "\n";
    }
    return text;
}

void addOptions(CLI::App& command, ChoiceTable& choices) {
    std::vector<std::string> methods;
    for (const FrameMethodInfo& info : allFrameMethods()) {
        methods.push_back(info.name);
    }
    offerChoices(choices,
                 command.add_option("--method", given.method, "kuka, fanuc, fanuc4 or abb"),
                 methods)
        ->required();
    addPointOptions(command, given.points, "the points in the method's order");
    addFrameOutputOptions(command, choices, given.notations, given.format);
    command.footer(std::string(examples) + "\n" + methodsText() + "\n" + pointForms);
}

int run(const CommandContext&) {
    return runFrame(given);
}

} // namespace

const Command frameCommand = {
    "frame",
    "A base, user frame or work object from 3 or 4 taught points, by the vendors' own methods.",
    addOptions, run};
