#pragma once

#include "cli/inputs/file_list.h"
#include "cli/plot/plot_options.h"
#include "robotfiles/notations/notations.h"
#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>
#include <vector>

// What a picture shows, whichever writer draws it (the page or the SVG): one
// plain record a pose with where it stands, how it turns and what hovering
// it tells, and the sizes that every view shares.

// What the pose is in the picture: a pose of a backup, what diff found for
// it, or one of the points of a fit.
enum class PlotRole { pose, unchanged, moved, added, removed, changed, nominal, measured };
const char* plotRoleName(PlotRole role); // "pose", "unchanged", ..., "measured"

struct PlotPose {
    std::uint32_t file = 0; // index into PlotScene::files
    std::uint64_t line = 0;
    std::string name;
    std::string comment; // FANUC P[n:"comment"]
    std::string type;
    PoseStatus status = PoseStatus::ok;
    PlotRole role = PlotRole::pose;
    bool frame = false;    // drawn larger and labelled
    bool placed = false;   // its position is known (not for uninitialised poses)
    bool oriented = false; // its orientation is known: drawn as a triad, not a dot
    double position[3] = {};
    double rotation[4] = {1, 0, 0, 0}; // unit quaternion, scalar first
    std::uint32_t members = 0;         // index into PlotScene::memberSets
    std::vector<double> values;        // shown on hover, in that set's order
    // Diff: where a moved pose was. Fit: the nominal point moved by the fitted
    // frame, where the residual starts.
    bool hasFrom = false;
    double from[3] = {};
    double fromRotation[4] = {1, 0, 0, 0};
    bool fromOriented = false;
    std::uint64_t fromLine = 0;
    double distanceMm = 0.0; // diff: how far it moved; fit: its residual
    double angleDeg = 0.0;
};

struct PlotFile {
    std::string shown;
    Vendor vendor = Vendor::kuka;
};

struct PlotScene {
    PlotKind kind = PlotKind::list;
    std::string title;
    std::string notation; // the hover values' notation; empty: each file's vendor
    std::vector<PlotFile> files;
    std::vector<PlotPose> poses;
    std::vector<std::string> memberSets; // "X Y Z A B C", "X Y Z Q1 Q2 Q3 Q4", ...
    // Set by layOutScene.
    double low[3] = {};
    double high[3] = {};
    double axisLength = 0.0;  // mm, a pose's triad; frames twice as long
    double gridSpacing = 0.0; // mm
    double largestMove = 0.0; // diff: the top of the colour scale, mm
    // Fit.
    double magnification = 1.0; // residual vectors are drawn this many times longer
    std::string worst;          // the point of the largest residual
    double rms = 0.0, mean = 0.0, max = 0.0;
    std::string summary; // one line for the legend
};

// The index of this list of member names ("X Y Z A B C") in the scene's sets,
// added where it is new.
std::uint32_t memberSetIndex(PlotScene& scene, const std::string& members);

// A pose as a reader found it, with the values in `notation` where it has
// an orientation and a notation is given, else in its vendor's own members.
PlotPose plotPoseOf(PlotScene& scene, std::uint32_t file, const PoseRecord& pose, bool frame,
                    const Notation* notation);

// The bounds of every position (the world origin included), the triad length
// (the given one, or from the spread) and a grid spacing of 1, 2 or 5 times a
// power of ten.
void layOutScene(PlotScene& scene, double axisLength);
