#pragma once

#include "cli/commands/calibration_options.h"
#include "cli/commands/options.h"
#include "cli/commands/plot_options.h"

// Each command returns the process's exit status.
int runList(const ListOptions& options);
int runConvert(const ConvertOptions& options);
int runDiff(const DiffOptions& options);
int runRebase(const RebaseOptions& options);
int runPlot(const PlotOptions& options);
// Bases, work objects and tools from taught points.
int runFrame(const FrameOptions& options);
int runFit(const FitOptions& options);
int runTool(const ToolOptions& options);
// The table of notations, for people or as the README's Markdown table.
int runNotations(bool markdown);
