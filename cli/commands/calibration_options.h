#pragma once

#include "calibration/tolerances.h"
#include "cli/commands/options.h"

#include <optional>
#include <string>
#include <vector>

// The options of frame, fit and tool, as calibration_command_line.cpp fills them.

// Points given one by one, or every matching pose of one file.
struct PointArguments {
    std::vector<std::string> given;  // PATH:NAME, pose texts, x,y,z
    std::string pointsPath;          // --points
    std::vector<std::string> select; // --select patterns
};

struct FrameOptions {
    std::string method; // a name of allFrameMethods()
    PointArguments points;
    std::vector<std::string> notations; // --to
    OutputFormat format = OutputFormat::table;
};

struct FitOptions {
    std::string nominalPath;
    std::string measuredPath;
    std::vector<std::string> select;
    std::vector<std::string> exclude;
    std::optional<double> maxErrorMm;
    std::vector<std::string> notations;
    OutputFormat format = OutputFormat::table;
};

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
