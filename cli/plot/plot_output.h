#pragma once

#include "cli/plot/plot_scene.h"

#include <cstdio>
#include <string>
#include <string_view>

// The two pictures of a scene: the page (HTML with three.js and the scene as
// JSON) and the SVG of three views. Both write through a sink that hands its
// text to the stream in pieces, so that a large scene is not held twice.
struct PlotSink {
    std::FILE* stream = nullptr;
    std::string text;
    bool failed = false;
};

// Writes what the sink holds once it holds more than a piece (or all of it).
void drainSink(PlotSink& sink, bool all = false);

void writePlotHtml(PlotSink& sink, const PlotScene& scene);
void writePlotSvg(PlotSink& sink, const PlotScene& scene);
