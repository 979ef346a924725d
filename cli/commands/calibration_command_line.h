#pragma once

#include "cli/commands/command_line.h"

#include <CLI/CLI.hpp>

#include <memory>

// frame, fit and tool on the command line: their options fill the records
// of calibration_options.h, and the one that was parsed runs.
struct CalibrationCommands;

struct CalibrationCommandLine {
    std::shared_ptr<CalibrationCommands> commands;
};

CalibrationCommandLine addCalibrationCommands(CLI::App& app,
                                              const std::vector<std::string>& notationNames,
                                              ChoiceTable& choices);
// The exit status of the parsed command, or -1 when none of the three was.
int runCalibrationCommand(const CalibrationCommandLine& line);
