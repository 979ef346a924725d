#pragma once

#include "cli/plot/plot_scene.h"

#include <string>

// `plot --fit NOMINAL MEASURED`: the points matched by name as `fit` matches
// them, the fitted frame, and each point's residual. False with a message
// when the points cannot be matched or the fit is refused.
bool buildFitScene(const PlotOptions& options, PlotScene& scene, std::string& message);
