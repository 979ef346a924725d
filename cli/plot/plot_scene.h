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
    // The page takes its position and orientation from its values, which are
    // one of the three vendors' own sets (X Y Z A B C, X Y Z W P R, X Y Z Q1
    // Q2 Q3 Q4): then neither is written twice. The SVG always has both.
    bool fromValues = false;
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
    std::uint64_t drawn = 0; // its poses drawn with a position
};

// The poses taught in one frame, toggled together: where the frame's value
// is known they are drawn in world coordinates through it (world = frame *
// pose), else in their own coordinates, and the note says which.
enum class PlotGroupKind { taught, unvisited, bases, tools };
struct PlotGroup {
    PlotGroupKind kind = PlotGroupKind::taught;
    std::string label;  // the frame as the program names it: BASE_DATA[1], wTable, UF 3
    std::string note;   // how the group is drawn
    bool world = false; // in world coordinates: the frame is the world, or its value is known
    bool moved = false; // the frame is not the world: its poses are drawn through it
    double at[3] = {};
    double turn[4] = {1, 0, 0, 0}; // unit quaternion, scalar first
    std::uint64_t count = 0;
};

// Why a pose the readers found is not drawn.
enum class PlotLeftOut {
    joint,
    offset,
    initialisation,
    assignment,
    undecided,
    load,
    member,
    system,
    unplaced,
};
constexpr int plotLeftOutCount = 9;
// "joint position" or "joint positions", ... as the summary and legends say it.
const char* plotLeftOutName(PlotLeftOut reason, std::uint64_t count);

// A program's path: the drawn poses its motions visit, in the order they run,
// as runs of consecutive indices (first, count, first, count, ...).
struct PlotPath {
    std::uint32_t file = 0;
    std::vector<std::uint32_t> runs;
};

struct PlotScene {
    PlotKind kind = PlotKind::list;
    std::string title;
    std::string notation; // the hover values' notation; empty: each file's vendor
    std::vector<PlotFile> files;
    // Every drawn pose, except where the page is written while the files are
    // read: then only drawnCount says how many.
    std::vector<PlotPose> poses;
    std::uint64_t drawnCount = 0;
    std::uint64_t readCount = 0;         // every pose the readers found, drawn or not
    std::vector<std::string> memberSets; // "X Y Z A B C", "X Y Z Q1 Q2 Q3 Q4", ...
    std::vector<std::string> types;      // E6POS, robtarget, P, ...
    // list: the frames the poses are taught in, each drawn pose's group (in
    // the order of drawing), the programs' paths and what was left out.
    std::vector<PlotGroup> groups;
    std::vector<std::uint32_t> poseGroups;
    std::vector<PlotPath> paths;
    std::uint64_t leftOut[plotLeftOutCount] = {};
    std::uint64_t visitedTwice = 0; // points visited in more than one frame: drawn in the first
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
// The same for a type name.
std::uint32_t typeIndex(PlotScene& scene, const std::string& type);

// The files as the side list shows them: those with drawn poses first, so
// that a backup's many files without a taught point do not hide the few with
// them; each part in the order the files were read.
std::vector<std::uint32_t> plotFileOrder(const PlotScene& scene);

// A pose as a reader found it, with the values in `notation` where it has
// an orientation and a notation is given, else in its vendor's own members.
PlotPose plotPoseOf(PlotScene& scene, std::uint32_t file, const PoseRecord& pose, bool frame,
                    const Notation* notation);
// The same into a pose that is reused, so that a long run of poses allocates
// nothing; with forPage, a pose whose values are its vendor's own set is left
// for the page to turn (fromValues), and no rotation is computed here.
void fillPlotPose(PlotPose& out, PlotScene& scene, std::uint32_t file, const PoseRecord& pose,
                  bool frame, const Notation* notation, bool forPage);

// The bounds of every position (the world origin included), then the sizes.
void layOutScene(PlotScene& scene, double axisLength);
// The triad length (the given one, or from the spread of the bounds) and a
// grid spacing of 1, 2 or 5 times a power of ten, from the scene's bounds.
void sizeScene(PlotScene& scene, double axisLength);
