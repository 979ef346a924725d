#pragma once

#include "cli/commands/command_line.h"
#include "cli/commands/plot_options.h"

#include <CLI/CLI.hpp>

// Registers `plot` with the command line; the options are filled in when it
// is parsed.
CLI::App* addPlotCommand(CLI::App& app, PlotOptions& options, ChoiceTable& choices);
