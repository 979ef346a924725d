#pragma once

#include "cli/plot/plot_scene.h"

#include <cstdio>
#include <string>
#include <string_view>

// The two pictures of a scene: the page (HTML with three.js and the scene as
// JSON) and the SVG of three views. Both write through a sink that hands its
// text to the stream in pieces, so that a large scene is not held twice.
struct PlotSink {
    std::FILE* stream = nullptr; // none: the sink keeps all its text
    std::string text;
    bool failed = false;
};

// Writes what the sink holds once it holds more than a piece (or all of it).
void drainSink(PlotSink& sink, bool all = false);

// The page whole, or in three steps so that its poses can be written while
// the files are read: the head, each pose in the order of drawing, then all
// that is known only at the end (the sizes, the files, groups and paths).
void writePlotHtml(PlotSink& sink, PlotScene& scene);
void writePageHead(PlotSink& sink);
void appendPagePose(PlotSink& sink, PlotScene& scene, const PlotPose& pose, bool first);
void writePageTail(PlotSink& sink, const PlotScene& scene);

void writePlotSvg(PlotSink& sink, const PlotScene& scene);
