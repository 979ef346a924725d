#include "cli/plot/plot_scenes.h"

#include "cli/inputs/file_list.h"
#include "cli/inputs/file_pairs.h"
#include "cli/inputs/file_poses.h"
#include "cli/output/diff_output.h"
#include "cli/output/messages.h"
#include "cli/output/warning_list.h"
#include "cli/plot/plot_frames.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_match.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <cerrno>
#include <cstring>

namespace {

bool hasPosition(const PoseRecord& pose) {
    int found = 0;
    for (const PoseMember& member : pose.values) {
        if (member.key.size() == 1 && member.key[0] >= 'x' && member.key[0] <= 'z') {
            found |= 1 << (member.key[0] - 'x');
        }
    }
    return found == 7;
}

// "18 poses drawn (8 in world coordinates, ...), 8 not drawn (4 joint
// positions, ...), from 6 files": the two counts apart, each with its parts.
std::string listSummary(const PlotScene& scene) {
    std::uint64_t world = 0, own = 0, frames = 0;
    for (const PlotGroup& group : scene.groups) {
        if (group.kind == PlotGroupKind::bases || group.kind == PlotGroupKind::tools) {
            frames += group.count;
        } else {
            (group.world ? world : own) += group.count;
        }
    }
    std::uint64_t notDrawn = 0;
    std::string left;
    for (int k = 0; k < plotLeftOutCount; ++k) {
        if (scene.leftOut[k] > 0) {
            notDrawn += scene.leftOut[k];
            left += fmt::format("{}{} {}", left.empty() ? "" : ", ", scene.leftOut[k],
                                plotLeftOutName(static_cast<PlotLeftOut>(k), scene.leftOut[k]));
        }
    }
    std::string text = fmt::format(
        "{} {} drawn ({} in world coordinates, {} in their own frame's coordinates, {} frames "
        "and tools), {} not drawn{}, from {} {}",
        scene.drawnCount, scene.drawnCount == 1 ? "pose" : "poses", world, own, frames, notDrawn,
        left.empty() ? "" : " (" + left + ")", scene.files.size(),
        scene.files.size() == 1 ? "file" : "files");
    if (scene.visitedTwice > 0) {
        text += fmt::format("; {} {} visited in more than one frame, drawn in the first",
                            scene.visitedTwice, scene.visitedTwice == 1 ? "point" : "points");
    }
    return text;
}

} // namespace

bool readListScene(const PlotOptions& options, const Notation* notation, bool forPage,
                   PlotScene& scene, const std::function<void(const PlotPose&)>& draw) {
    const FileListResult list = listInputFiles(options.paths, std::nullopt);
    for (const std::string& error : list.errors) {
        printError("plot: {}", error);
    }
    if (!list.errors.empty()) {
        return false;
    }
    bool ok = true;
    std::uint64_t read = 0;
    const ProgramUses uses = readProgramUses(list.files);
    PlotFrameBook book;
    PlotPose drawn;
    for (const InputFile& file : list.files) {
        const auto index = static_cast<std::uint32_t>(scene.files.size());
        scene.files.push_back(PlotFile{file.shown, file.vendor});
        startPlotFile(book, file);
        WarningList warnings;
        warnings.file = file.shown;
        std::string message;
        const bool fileRead = scanInputFile(
            file, uses,
            [&](const PoseRecord& pose) {
                ++read;
                notePlotFrame(book, pose);
                const PlotVerdict verdict = plotVerdictOf(pose, hasPosition(pose));
                if (verdict.use == PlotUse::leftOut) {
                    ++scene.leftOut[static_cast<int>(verdict.reason)];
                    return;
                }
                fillPlotPose(drawn, scene, index, pose, verdict.use != PlotUse::position, notation,
                             forPage);
                notePlotPose(book, pose, drawn, verdict.use);
                scene.files[index].drawn += drawn.placed ? 1 : 0;
                draw(drawn);
            },
            warnings, message, [&](const MotionVisit& visit) { notePlotMotion(book, visit); });
        endPlotFile(book);
        std::fputs(warningText(warnings).c_str(), stderr);
        if (!fileRead) {
            printError("plot: {}", message);
            ok = false;
        }
    }
    finishPlotFrames(book, scene);
    scene.readCount = read;
    scene.title = fmt::format("{}", fmt::join(options.paths, " "));
    scene.summary = listSummary(scene);
    return ok;
}

bool buildListScene(const PlotOptions& options, const Notation* notation, PlotScene& scene) {
    const bool read = readListScene(options, notation, false, scene,
                                    [&](const PlotPose& pose) { scene.poses.push_back(pose); });
    placeScenePoses(scene);
    return read;
}

PlotRole roleOf(DiffStatus status) {
    switch (status) {
    case DiffStatus::moved:
        return PlotRole::moved;
    case DiffStatus::added:
        return PlotRole::added;
    case DiffStatus::removed:
        return PlotRole::removed;
    case DiffStatus::changedExtra:
    case DiffStatus::changed:
        return PlotRole::changed;
    case DiffStatus::unchanged:
        return PlotRole::unchanged;
    }
    return PlotRole::unchanged;
}

// The poses of OLD and NEW matched as `diff` matches them: every pose of
// NEW, and the removed ones where OLD had them.
bool buildDiffScene(const PlotOptions& options, const Notation* notation, PlotScene& scene) {
    const std::string& oldPath = options.paths[0];
    const std::string& newPath = options.paths[1];
    const std::optional<Vendor> vendor = singleFilesVendor(oldPath, newPath);
    const FileListResult before = listInputFiles({oldPath}, vendor);
    const FileListResult after = listInputFiles({newPath}, vendor);
    bool ok = before.errors.empty() && after.errors.empty();
    for (const FileListResult* list : {&before, &after}) {
        for (const std::string& error : list->errors) {
            printError("plot: {}", error);
        }
    }
    if (!ok) {
        return false;
    }
    const DiffTolerance tolerance{options.toleranceMm, options.toleranceDeg};
    DiffCounts counts;
    std::vector<PoseRecord> oldPoses;
    std::vector<PoseRecord> newPoses;
    std::vector<DiffFinding> findings;
    const ProgramUses oldUses = readProgramUses(before.files);
    const ProgramUses newUses = readProgramUses(after.files);
    for (const FilePair& pair : pairFiles(oldPath, newPath, before.files, after.files)) {
        oldPoses.clear();
        newPoses.clear();
        findings.clear();
        if ((pair.before != nullptr && !readPoses(*pair.before, oldUses, oldPoses)) ||
            (pair.after != nullptr && !readPoses(*pair.after, newUses, newPoses))) {
            ok = false;
            continue;
        }
        ++counts.files;
        compareFilePoses(oldPoses, newPoses, tolerance, findings, counts);
        const InputFile& shown = pair.after != nullptr ? *pair.after : *pair.before;
        const auto index = static_cast<std::uint32_t>(scene.files.size());
        scene.files.push_back(PlotFile{shown.shown, shown.vendor});
        const std::size_t first = scene.poses.size();
        for (const PoseRecord& pose : newPoses) {
            PlotPose drawn = plotPoseOf(scene, index, pose, pose.role == PoseRole::frame, notation);
            drawn.role = PlotRole::unchanged;
            scene.poses.push_back(std::move(drawn));
        }
        for (const DiffFinding& finding : findings) {
            if (finding.status == DiffStatus::removed) {
                const PoseRecord& pose = oldPoses[finding.oldIndex];
                PlotPose drawn =
                    plotPoseOf(scene, index, pose, pose.role == PoseRole::frame, notation);
                drawn.role = PlotRole::removed;
                scene.poses.push_back(std::move(drawn));
                continue;
            }
            PlotPose& drawn = scene.poses[first + finding.newIndex];
            drawn.role = roleOf(finding.status);
            if (finding.status == DiffStatus::moved) {
                const PlotPose was =
                    plotPoseOf(scene, index, oldPoses[finding.oldIndex], false, nullptr);
                drawn.hasFrom = was.placed;
                std::copy(std::begin(was.position), std::end(was.position), drawn.from);
                std::copy(std::begin(was.rotation), std::end(was.rotation), drawn.fromRotation);
                drawn.fromOriented = was.oriented;
                drawn.fromLine = finding.oldLine;
                drawn.distanceMm = finding.distanceMm;
                drawn.angleDeg = finding.angleDeg;
            }
        }
    }
    scene.title = oldPath + " -> " + newPath;
    scene.summary = diffCountsText(counts);
    return ok;
}
