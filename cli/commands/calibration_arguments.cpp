#include "cli/commands/calibration_arguments.h"

const char* const pointForms = R"(Points: PATH:NAME (a pose of a program file as `list` names it:
Get3Basepoints.dat:gfMeasPoint[1], TCP_tSpindleSensor.mod:pTCP_Point1,
PNS0001.LS:P[3], or "PNS0001.LS:P[3] GP2"; names compared as the robot
languages compare them, the last ':' splits), a pose text that `convert`
reads, or x,y,z; or --points PATH --select PATTERNS for every matching pose
of one file in natural name order (P2 before P10). Put -- before a point
that starts with a minus sign.
)";

void addPointOptions(CLI::App& command, PointArguments& points, const char* what) {
    command.add_option("points", points.given, what)->type_name("POINT");
    command.add_option("--points", points.pointsPath, "take the points from this program file")
        ->type_name("PATH");
    command
        .add_option("--select", points.select,
                    "with --points: the poses whose names match (comma list, * and ?)")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->type_name("PATTERNS");
}

void addFrameOutputOptions(CLI::App& command, ChoiceTable& choices,
                           std::vector<std::string>& notations, OutputFormat& format) {
    addNotationsOption(command, choices, notations,
                       "the notations to print (comma list; default the vendor's own form of the "
                       "frame: kuka, abb or fanuc as the points' files are)")
        ->allow_extra_args(false);
    addFormatOption(command, choices, format, {OutputFormat::table, OutputFormat::json},
                    "table (the frame, its figures on standard error) or json (one object with "
                    "everything)");
}
