#pragma once

#include "cli/plot/plot_options.h"
#include "cli/plot/plot_scene.h"
#include "robotfiles/notations/notations.h"

#include <functional>

// The scene of plot's pictures: every pose of the given files and folders as
// `list` finds them, or what `diff` finds between OLD and NEW. False when a
// file could not be read (the message is printed).

// Each pose to draw is handed to `draw` as it is read, in the order of
// drawing (frames and tools apart from positions; joint positions, offsets,
// load data and the like only counted); then the frames each pose is taught
// in, the groups, the programs' paths and the bounds are settled. forPage:
// poses whose values are their vendor's own set are left for the page to
// turn (see fillPlotPose).
bool readListScene(const PlotOptions& options, const Notation* notation, bool forPage,
                   PlotScene& scene, const std::function<void(const PlotPose&)>& draw);
// The same with every drawn pose kept in the scene, where its frame puts it.
bool buildListScene(const PlotOptions& options, const Notation* notation, PlotScene& scene);
bool buildDiffScene(const PlotOptions& options, const Notation* notation, PlotScene& scene);
