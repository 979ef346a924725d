#include "cli/commands/calibration_command_line.h"

#include "calibration/point_frame.h"
#include "calibration/tolerances.h"
#include "cli/commands/commands.h"

#include <fmt/format.h>

#include <string>
#include <vector>

namespace {

const char* const pointForms = R"(Points: PATH:NAME (a pose of a program file as `list` names it:
Get3Basepoints.dat:gfMeasPoint[1], TCP_tSpindleSensor.mod:pTCP_Point1,
PNS0001.LS:P[3], or "PNS0001.LS:P[3] GP2"; names compared as the robot
languages compare them, the last ':' splits), a pose text that `convert`
reads, or x,y,z; or --points PATH --select PATTERNS for every matching pose
of one file in natural name order (P2 before P10). Put -- before a point
that starts with a minus sign.
)";

const char* const frameExamples = R"(Examples:
  posebridge-cli frame --method kuka Get3Basepoints.dat:gfMeasPoint[1] \
      Get3Basepoints.dat:gfMeasPoint[2] Get3Basepoints.dat:gfMeasPoint[3]
  posebridge-cli frame --method fanuc4 --points UFRAME3.LS --select "P[*]"
  posebridge-cli frame --method abb --to abb,kuka 100,0,0 400,0,0 250,200,0
  posebridge-cli frame --method kuka --format json --points base.dat --select "XBASE*"

X from the first point toward the second, Z = X x (third - first), Y = Z x X.
The frame goes to standard output, its figures (distances, how far the plane
point stands off the X line, the angle at its corner) to standard error.
Exit status: 0 done, 2 for a usage error or points that define no frame.
)";

const char* const fitExamples = R"help(Examples:
  the fixture moved: re-teach REF1..REF4, fit, move the program by the result
    posebridge-cli fit --select "REF*" old/fixture.dat new/fixture.dat
    posebridge-cli rebase --pre "$(posebridge-cli fit --to kuka --select "REF*" \
        old/fixture.dat new/fixture.dat)" --select "XP*" --out moved/ new/fixture.dat
  KUKA's indirect base method: the known base coordinates as NOMINAL
    posebridge-cli fit --max-error 0.5 targets.csv Get3Basepoints.dat

MEASURED = F * NOMINAL in the least-squares sense over the positions (no
scale; F is always a proper rotation). NOMINAL and MEASURED are program files
or folders (poses matched by file and name as `diff` matches them) or tables
of points name,x,y,z (CSV with or without a header, or blank-separated).
At least 3 pairs, not on one line. The frame goes to standard output; each
pair's residual, the RMS, mean and max to standard error.
Exit status: 0 done, 1 a residual above --max-error (the points named),
2 for a usage error or points that define no frame.
)help";

const char* const toolExamples = R"(Examples:
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
Exit status: 0 done, 1 an error above --max-error (the poses named), 2 for a
usage error, poses that define no TCP (orientations too alike, or all turned
about one axis), or a Z or X pose turned from the reference pose.
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

void addCommon(ChoiceTable& choices, CLI::App* command, std::vector<std::string>& notations,
               std::string& format, const std::vector<std::string>& notationNames) {
    offerChoices(choices,
                 command->add_option("--to", notations,
                                     "the notations to print (comma list; default the vendor's "
                                     "own form of the frame: kuka, abb or fanuc as the points' "
                                     "files are)"),
                 notationNames, true)
        ->delimiter(',')
        ->allow_extra_args(false)
        ->type_name("NOTATIONS");
    offerChoices(choices,
                 command->add_option("--format", format,
                                     "text (the frame, its figures on standard error) or json "
                                     "(one object with everything)"),
                 {"text", "json"});
}

void addPointOptions(CLI::App* command, PointArguments& points, const char* what) {
    command->add_option("points", points.given, what)->type_name("POINT");
    command->add_option("--points", points.pointsPath, "take the points from this program file")
        ->type_name("PATH");
    command
        ->add_option("--select", points.select,
                     "with --points: the poses whose names match (comma list, * and ?)")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->type_name("PATTERNS");
}

OutputFormat formatOf(const std::string& format) {
    return format == "json" ? OutputFormat::json : OutputFormat::table;
}

} // namespace

struct CalibrationCommands {
    CLI::App* frame = nullptr;
    CLI::App* fit = nullptr;
    CLI::App* tool = nullptr;
    FrameOptions frameOptions;
    FitOptions fitOptions;
    ToolOptions toolOptions;
    std::string frameFormat, fitFormat, toolFormat;
    double fitMaxError = 0.0, toolMaxError = 0.0;
    std::size_t reference = 0;
};

CalibrationCommandLine addCalibrationCommands(CLI::App& app,
                                              const std::vector<std::string>& notationNames,
                                              ChoiceTable& choices) {
    CalibrationCommandLine line;
    line.commands = std::make_shared<CalibrationCommands>();
    CalibrationCommands& c = *line.commands;

    std::vector<std::string> methods;
    for (const FrameMethodInfo& info : allFrameMethods()) {
        methods.push_back(info.name);
    }
    c.frame = app.add_subcommand(
        "frame", "A base, user frame or work object from 3 or 4 taught points, by the "
                 "vendors' own methods.");
    offerChoices(
        choices,
        c.frame->add_option("--method", c.frameOptions.method, "kuka, fanuc, fanuc4 or abb"),
        methods)
        ->required();
    addPointOptions(c.frame, c.frameOptions.points, "the points in the method's order");
    addCommon(choices, c.frame, c.frameOptions.notations, c.frameFormat, notationNames);
    c.frame->footer(std::string(frameExamples) + "\n" + methodsText() + "\n" + pointForms);

    c.fit = app.add_subcommand(
        "fit", "The rigid frame F with MEASURED = F * NOMINAL from matched points, with "
               "each residual.");
    c.fit->add_option("nominal", c.fitOptions.nominalPath, "the nominal points")
        ->required()
        ->type_name("NOMINAL");
    c.fit->add_option("measured", c.fitOptions.measuredPath, "the measured points")
        ->required()
        ->type_name("MEASURED");
    c.fit->add_option("--select", c.fitOptions.select, "only points whose names match (REF*,P?)")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->type_name("PATTERNS");
    c.fit->add_option("--exclude", c.fitOptions.exclude, "leave out the pairs of these names")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->type_name("NAMES");
    c.fit->add_option("--max-error", c.fitMaxError, "exit status 1 when a residual is above this")
        ->type_name("MM");
    addCommon(choices, c.fit, c.fitOptions.notations, c.fitFormat, notationNames);
    c.fit->footer(fitExamples);

    c.tool = app.add_subcommand(
        "tool", "A tool's TCP from 4 or more flange poses (taught with tool0) on one fixed point.");
    addPointOptions(c.tool, c.toolOptions.poses, "the flange poses");
    c.tool
        ->add_option("--z-pose", c.toolOptions.zPose,
                     "the reference pose moved, not reoriented, so that the tip lies on +Z")
        ->type_name("POSE");
    c.tool->add_option("--x-pose", c.toolOptions.xPose, "likewise on +X (needs --z-pose)")
        ->type_name("POSE");
    c.tool
        ->add_option("--reference", c.reference,
                     "the pose (1 to N) the Z and X poses were moved from (default N)")
        ->type_name("K");
    c.tool
        ->add_option("--min-spread", c.toolOptions.minSpreadDeg,
                     fmt::format("refuse orientations that spread less than this in a direction "
                                 "(default {})",
                                 defaultMinSpreadDeg))
        ->type_name("DEG");
    c.tool
        ->add_option("--max-error", c.toolMaxError,
                     "exit status 1 when a pose's error is above this")
        ->type_name("MM");
    addCommon(choices, c.tool, c.toolOptions.notations, c.toolFormat, notationNames);
    c.tool->footer(std::string(toolExamples) + "\n" + pointForms);
    return line;
}

int runCalibrationCommand(const CalibrationCommandLine& line) {
    CalibrationCommands& c = *line.commands;
    if (c.frame->parsed()) {
        c.frameOptions.format = formatOf(c.frameFormat);
        return runFrame(c.frameOptions);
    }
    if (c.fit->parsed()) {
        c.fitOptions.format = formatOf(c.fitFormat);
        if (c.fit->count("--max-error") > 0) {
            c.fitOptions.maxErrorMm = c.fitMaxError;
        }
        return runFit(c.fitOptions);
    }
    if (c.tool->parsed()) {
        c.toolOptions.format = formatOf(c.toolFormat);
        if (c.tool->count("--max-error") > 0) {
            c.toolOptions.maxErrorMm = c.toolMaxError;
        }
        if (c.tool->count("--reference") > 0) {
            c.toolOptions.reference = c.reference;
        }
        return runTool(c.toolOptions);
    }
    return -1;
}
