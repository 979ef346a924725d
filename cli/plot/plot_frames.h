#pragma once

#include "cli/inputs/file_list.h"
#include "cli/plot/plot_scene.h"
#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Where plot draws each pose: in the frame it is taught in. A program's
// motions say which frame that is (KRL's $BASE, BAS(#BASE,n) or the Base[n]
// of an inline form, RAPID's \WObj, FANUC's UF of the position itself);
// where the frame's value is in the files read (BASE_DATA[n] of a
// $config.dat, a wobjdata), the poses are drawn in world coordinates through
// it, else in their own coordinates, and the group's note says so. The
// motions also give each program's path, in the order they run.

// What plot does with a pose the readers found: draws it as a taught
// position, as a base (or work object) or as a tool (or another frame), or
// leaves it out and says why.
enum class PlotUse { position, base, tool, leftOut };
struct PlotVerdict {
    PlotUse use = PlotUse::position;
    PlotLeftOut reason = PlotLeftOut::unplaced;
};
// placed: the pose has a position (its x, y and z).
PlotVerdict plotVerdictOf(const PoseRecord& pose, bool placed);

// A name as the programs compare it: upper case, without blanks, an index's
// leading zeros dropped ("p[007]" and "P[7]" are one point).
std::string plotNameKey(std::string_view name);

// What the files read say of frames, points and motions, collected while
// they are read and settled once all are.
struct PlotFrameBook {
    struct File {
        Vendor vendor = Vendor::kuka;
        std::string folder;      // lower case, '/' between folders
        std::string module;      // KRL: the folder and the name without extension; else the file
        std::string shown;       // as given or found
        std::string shownFolder; // as shown, for telling apart two frames of one name
        bool configDat = false;
    };
    // A drawn pose, in the order of drawing.
    struct Drawn {
        float raw[3] = {};
        bool placed = false;
        PlotUse use = PlotUse::position;
        std::uint32_t file = 0;
        std::int32_t frame = -1;    // the frame of its first motion (a frameUses index)
        std::int32_t declared = -1; // the frame it names itself: FANUC's UF
    };
    // A pose that may frame others.
    struct Frame {
        std::uint32_t file = 0;
        std::uint64_t line = 0;
        std::string key;
        double at[3] = {};
        double turn[4] = {1, 0, 0, 0};
        bool workObject = false; // a RAPID wobjdata: the only kind a \WObj names
        bool fixed = true;       // false for a work object the robot holds or a unit moves
    };
    // A frame as one file names it.
    struct FrameUse {
        std::uint32_t file = 0;
        std::string name;
    };
    // A point as a motion names it: in its own module first, then anywhere.
    struct Target {
        std::string local;
        std::string global; // empty where names are the program's own (FANUC)
    };
    struct Visit {
        std::uint32_t target = 0; // a drawn index, or a targets index when named
        std::int32_t frame = -1;
        bool named = false;
        bool resolved = false;
    };
    struct Program {
        std::uint32_t file = 0;
        std::vector<Visit> visits;
    };

    std::vector<File> files;
    std::vector<Drawn> drawn;
    std::vector<Frame> frames;
    std::unordered_map<std::string, std::uint32_t> localNames;
    std::unordered_map<std::string, std::uint32_t> globalNames;
    std::vector<FrameUse> frameUses;
    std::unordered_map<std::string, std::int32_t> frameUseIds;
    std::vector<Target> targets;
    std::unordered_map<std::string, std::uint32_t> targetIds;
    std::vector<Program> programs;
    // The file being read: its inline poses by offset, and the motions to
    // inline poses that wait for them (a KRL motion comes before its pose).
    std::vector<std::pair<std::uint64_t, std::uint32_t>> inlinePoses;
    std::vector<std::pair<std::size_t, std::uint64_t>> waiting;
};

void startPlotFile(PlotFrameBook& book, const InputFile& file);
// A pose whose value may frame others (BASE_DATA[n], a wobjdata), drawn or not.
void notePlotFrame(PlotFrameBook& book, const PoseRecord& pose);
// A drawn pose, as the scene draws it.
void notePlotPose(PlotFrameBook& book, const PoseRecord& pose, const PlotPose& drawn, PlotUse use);
void notePlotMotion(PlotFrameBook& book, const MotionVisit& visit);
void endPlotFile(PlotFrameBook& book);

// Once every file is read: the groups, each drawn pose's group, the paths,
// and the bounds of the poses where they are drawn.
void finishPlotFrames(PlotFrameBook& book, PlotScene& scene);

// Moves the scene's poses (where it holds them) into their groups' frames.
void placeScenePoses(PlotScene& scene);
