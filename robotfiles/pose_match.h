#pragma once

#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>
#include <vector>

// What became of one pose between an older and a newer backup.
enum class DiffStatus { moved, added, removed, changedExtra, changed, unchanged };
constexpr int diffStatusCount = 6;

// "moved", "added", "removed", "changed_extra", "changed", "unchanged".
const char* diffStatusName(DiffStatus status);

// What counts as moved: more than this far, or turned by more than this
// angle; joint values when one axis changed by more than jointDeg (degrees,
// or mm for a linear axis).
struct DiffTolerance {
    double mm = 0.0;
    double deg = 0.0;
    double jointDeg = 0.001;
};

constexpr std::size_t absentPose = static_cast<std::size_t>(-1);

struct DiffFinding {
    DiffStatus status = DiffStatus::unchanged;
    Vendor vendor = Vendor::kuka;
    std::string name;          // empty for inline values
    int group = 0;             // FANUC GPn
    std::uint64_t oldLine = 0; // 0 where the pose is absent on that side
    std::uint64_t newLine = 0;
    // Which pose of each side's list it is (plot draws both); absentPose where
    // the pose is absent on that side.
    std::size_t oldIndex = absentPose;
    std::size_t newIndex = absentPose;
    double distanceMm = 0.0; // for moved poses
    double angleDeg = 0.0;
    bool joint = false;      // joint values, compared axis by axis
    double maxAxisDeg = 0.0; // the largest change of one axis
};

struct DiffCounts {
    std::uint64_t byStatus[diffStatusCount] = {};
    std::uint64_t files = 0;
};

// Pairs the poses of one file as the two backups hold it, by name (FANUC by
// P[n] and group), and inline values, which have no name, by their order in
// the file. Appends what differs in the order of the newer file's lines
// (removed poses by their line in the older one) and counts every pose.
void compareFilePoses(const std::vector<PoseRecord>& oldPoses,
                      const std::vector<PoseRecord>& newPoses, DiffTolerance tolerance,
                      std::vector<DiffFinding>& findings, DiffCounts& counts);
