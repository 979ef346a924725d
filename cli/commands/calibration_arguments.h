#pragma once

#include "cli/commands/command_line.h"

#include <string>
#include <vector>

// What frame, fit and tool share on the command line: how points are given,
// and how the frame is printed.

// Points given one by one, or every matching pose of one file.
struct PointArguments {
    std::vector<std::string> given;  // PATH:NAME, pose texts, x,y,z
    std::string pointsPath;          // --points
    std::vector<std::string> select; // --select patterns
};

// The forms a point takes, for the help texts.
extern const char* const pointForms;

// The positional points, --points and --select.
void addPointOptions(CLI::App& command, PointArguments& points, const char* what);
// --to (default: the vendor's own form of the frame) and --format table|json.
void addFrameOutputOptions(CLI::App& command, ChoiceTable& choices,
                           std::vector<std::string>& notations, OutputFormat& format);
