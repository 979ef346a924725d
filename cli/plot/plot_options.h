#pragma once

#include <string>
#include <vector>

// `plot` as a plain record: plot_command_line.cpp fills it, runPlot works
// from it.

enum class PlotFormat { html, svg };
enum class PlotKind { list, diff, fit };

struct PlotOptions {
    PlotKind kind = PlotKind::list;
    // list: files and folders; diff: OLD and NEW; fit: NOMINAL and MEASURED.
    std::vector<std::string> paths;
    std::string out; // "-" for standard output; empty: plot.html or plot.svg
    PlotFormat format = PlotFormat::html;
    bool formatGiven = false;
    std::string notation;       // --to: the values shown on hover; empty: the file's vendor
    double axisLength = 0.0;    // --axis-length in mm; 0: from the spread of the points
    double toleranceMm = 0.001; // --diff: as `diff` counts a pose moved
    double toleranceDeg = 0.001;
    std::vector<std::string> select;  // --fit: the point names to use
    std::vector<std::string> exclude; // --fit: the point names to leave out
};
