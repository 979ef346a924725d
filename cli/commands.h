#pragma once

#include "cli/options.h"
#include "cli/plot_options.h"

// Each command returns the process's exit status.
int runList(const ListOptions& options);
int runConvert(const ConvertOptions& options);
int runDiff(const DiffOptions& options);
int runRebase(const RebaseOptions& options);
int runPlot(const PlotOptions& options);
// The table of notations, for people or as the README's Markdown table.
int runNotations(bool markdown);
