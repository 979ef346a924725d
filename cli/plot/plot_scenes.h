#pragma once

#include "cli/plot/plot_options.h"
#include "cli/plot/plot_scene.h"
#include "robotfiles/notations/notations.h"

// The scene of plot's pictures: every pose of the given files and folders as
// `list` finds them, or what `diff` finds between OLD and NEW. False when a
// file could not be read (the message is printed).
bool buildListScene(const PlotOptions& options, const Notation* notation, PlotScene& scene);
bool buildDiffScene(const PlotOptions& options, const Notation* notation, PlotScene& scene);
