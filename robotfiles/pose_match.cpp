#include "robotfiles/pose_match.h"

#include "robotfiles/pose_compare.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/scan_text.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// A pose's identity within its file: its name, its group, and which pose of
// that name and group it is. Inline values all have the empty name, so the
// last part pairs the k-th inline value of one file with the k-th of the
// other; a name declared twice is paired the same way.
using PoseKey = std::tuple<std::string, int, std::uint64_t>;

// KRL and RAPID do not tell letter case apart in names; FANUC's P[n] has none.
std::string matchedName(const PoseRecord& pose) {
    std::string name = pose.name;
    if (pose.vendor != Vendor::fanuc) {
        for (char& c : name) {
            c = lowerByte(c);
        }
    }
    return name;
}

std::vector<PoseKey> keysOf(const std::vector<PoseRecord>& poses) {
    std::map<std::pair<std::string, int>, std::uint64_t> seen;
    std::vector<PoseKey> keys;
    keys.reserve(poses.size());
    for (const PoseRecord& pose : poses) {
        std::string name = matchedName(pose);
        const std::uint64_t ordinal = seen[{name, pose.group}]++;
        keys.emplace_back(std::move(name), pose.group, ordinal);
    }
    return keys;
}

bool sameExtra(const PoseRecord& a, const PoseRecord& b) {
    if (a.extra.size() != b.extra.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.extra.size(); ++k) {
        if (a.extra[k].key != b.extra[k].key || !(a.extra[k].value == b.extra[k].value)) {
            return false;
        }
    }
    return true;
}

bool sameValues(const PoseRecord& a, const PoseRecord& b) {
    if (a.status != b.status || a.values.size() != b.values.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.values.size(); ++k) {
        if (a.values[k].key != b.values[k].key || a.values[k].value != b.values[k].value) {
            return false;
        }
    }
    return true;
}

// Joint values axis by axis: moved by the largest change of one axis. A
// different set of axes, or a pose on one side only, is a change.
void compareAxes(const PoseRecord& oldPose, const PoseRecord& newPose, DiffTolerance tolerance,
                 DiffFinding& finding) {
    bool sameAxes = oldPose.axes.size() == newPose.axes.size();
    double largest = 0.0;
    for (std::size_t k = 0; sameAxes && k < oldPose.axes.size(); ++k) {
        sameAxes = oldPose.axes[k].key == newPose.axes[k].key;
        const double change = std::fabs(newPose.axes[k].value - oldPose.axes[k].value);
        largest = std::max(largest, std::isnan(change) ? 0.0 : change);
    }
    if (!sameAxes || oldPose.status != newPose.status) {
        finding.status = DiffStatus::changed;
        return;
    }
    finding.maxAxisDeg = largest;
    finding.joint = true;
    finding.status = largest > tolerance.jointDeg   ? DiffStatus::moved
                     : !sameExtra(oldPose, newPose) ? DiffStatus::changedExtra
                                                    : DiffStatus::unchanged;
}

void comparePair(const PoseRecord& oldPose, const PoseRecord& newPose, DiffTolerance tolerance,
                 DiffFinding& finding) {
    if (!oldPose.axes.empty() || !newPose.axes.empty()) {
        compareAxes(oldPose, newPose, tolerance, finding);
        return;
    }
    Transform before;
    Transform after;
    if (!transformOfRecord(oldPose, before) || !transformOfRecord(newPose, after)) {
        // Without a pose on both sides only the written values can be compared.
        finding.status = !sameValues(oldPose, newPose)  ? DiffStatus::changed
                         : !sameExtra(oldPose, newPose) ? DiffStatus::changedExtra
                                                        : DiffStatus::unchanged;
        return;
    }
    finding.distanceMm = translationDistance(before, after);
    finding.angleDeg = relativeRotationDegrees(before, after);
    finding.status = finding.distanceMm > tolerance.mm || finding.angleDeg > tolerance.deg
                         ? DiffStatus::moved
                     : !sameExtra(oldPose, newPose) ? DiffStatus::changedExtra
                                                    : DiffStatus::unchanged;
}

DiffFinding findingOf(const PoseRecord& pose) {
    DiffFinding finding;
    finding.vendor = pose.vendor;
    finding.name = pose.name;
    finding.group = pose.group;
    return finding;
}

} // namespace

const char* diffStatusName(DiffStatus status) {
    switch (status) {
    case DiffStatus::moved:
        return "moved";
    case DiffStatus::added:
        return "added";
    case DiffStatus::removed:
        return "removed";
    case DiffStatus::changedExtra:
        return "changed_extra";
    case DiffStatus::changed:
        return "changed";
    case DiffStatus::unchanged:
        return "unchanged";
    }
    return "unchanged";
}

void compareFilePoses(const std::vector<PoseRecord>& oldPoses,
                      const std::vector<PoseRecord>& newPoses, DiffTolerance tolerance,
                      std::vector<DiffFinding>& findings, DiffCounts& counts) {
    const std::vector<PoseKey> oldKeys = keysOf(oldPoses);
    const std::vector<PoseKey> newKeys = keysOf(newPoses);
    std::map<PoseKey, std::size_t> oldIndex;
    for (std::size_t k = 0; k < oldKeys.size(); ++k) {
        oldIndex.emplace(oldKeys[k], k);
    }
    std::vector<bool> oldMatched(oldPoses.size(), false);
    const std::size_t first = findings.size();
    for (std::size_t k = 0; k < newPoses.size(); ++k) {
        DiffFinding finding = findingOf(newPoses[k]);
        finding.newLine = newPoses[k].line;
        finding.newIndex = k;
        const auto match = oldIndex.find(newKeys[k]);
        if (match == oldIndex.end()) {
            finding.status = DiffStatus::added;
        } else {
            oldMatched[match->second] = true;
            finding.oldLine = oldPoses[match->second].line;
            finding.oldIndex = match->second;
            comparePair(oldPoses[match->second], newPoses[k], tolerance, finding);
        }
        ++counts.byStatus[static_cast<int>(finding.status)];
        if (finding.status != DiffStatus::unchanged) {
            findings.push_back(std::move(finding));
        }
    }
    for (std::size_t k = 0; k < oldPoses.size(); ++k) {
        if (!oldMatched[k]) {
            DiffFinding finding = findingOf(oldPoses[k]);
            finding.status = DiffStatus::removed;
            finding.oldLine = oldPoses[k].line;
            finding.oldIndex = k;
            ++counts.byStatus[static_cast<int>(finding.status)];
            findings.push_back(std::move(finding));
        }
    }
    // Stable: poses on one line keep the newer file's order, removed ones follow.
    const auto line = [](const DiffFinding& f) {
        return f.status == DiffStatus::removed ? f.oldLine : f.newLine;
    };
    std::stable_sort(findings.begin() + static_cast<std::ptrdiff_t>(first), findings.end(),
                     [&](const DiffFinding& a, const DiffFinding& b) { return line(a) < line(b); });
}
