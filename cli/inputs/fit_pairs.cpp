#include "cli/inputs/fit_pairs.h"

#include "cli/inputs/file_poses.h"

#include "cli/inputs/file_list.h"
#include "cli/inputs/point_table.h"
#include "cli/inputs/taught_points.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_names.h"

#include <fmt/format.h>

#include <algorithm>
#include <map>
#include <set>
#include <system_error>

namespace {

// One named point of one side, before matching.
struct SidePoint {
    std::string file;    // the path relative to the side's PATH, for matching two folders
    std::string name;    // as found
    std::string source;  // FILE:LINE
    std::string problem; // why it has no position, FILE:LINE:COLUMN: ...
    Point3 point;
    std::optional<Vendor> vendor; // none for a table's point
};

struct Side {
    bool table = false;
    bool folder = false;
    std::vector<SidePoint> points;
};

bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(pathFromUtf8(path), error);
}

bool matchesAny(const std::vector<std::string>& patterns, const std::string& name) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return matchesPattern(pattern, name); });
}

// A file that no robot language claims is a table of points.
bool readSide(const std::string& path, std::optional<Vendor> vendor, Side& side,
              std::string& message) {
    side.folder = isFolder(path);
    if (!side.folder && !vendor && !vendorOfPath(path)) {
        side.table = true;
        std::vector<TablePoint> table;
        if (!readPointTable(path, table, message)) {
            return false;
        }
        for (const TablePoint& row : table) {
            side.points.push_back(
                SidePoint{"", row.name, fmt::format("{}:{}", path, row.line), "", row.point, {}});
        }
        return true;
    }
    const FileListResult list = listInputFiles({path}, vendor);
    if (!list.errors.empty()) {
        message = list.errors.front();
        return false;
    }
    const ProgramUses uses = readProgramUses(list.files);
    for (const InputFile& file : list.files) {
        std::vector<PoseRecord> poses;
        if (!readFilePoses(file, uses, poses, message)) {
            return false;
        }
        for (const PoseRecord& pose : poses) {
            if (pose.name.empty()) {
                continue; // an inline value has no name to match by
            }
            TaughtPose taught;
            std::string problem;
            taughtOfRecord(file, pose, false, taught, problem);
            side.points.push_back(SidePoint{side.folder ? file.relative : std::string(),
                                            taught.name, taught.source, problem, taught.position,
                                            pose.vendor});
        }
    }
    return true;
}

} // namespace

bool matchFitPairs(const std::string& nominalPath, const std::string& measuredPath,
                   const std::vector<std::string>& select, const std::vector<std::string>& exclude,
                   std::vector<FitPair>& pairs, std::string& message,
                   std::vector<UnmatchedPoint>* unmatched) {
    // Two single files are one program at two times, as diff takes them: a
    // backup named NAME.bak reads as the other file's vendor.
    std::optional<Vendor> vendor;
    if (!isFolder(nominalPath) && !isFolder(measuredPath)) {
        const std::optional<Vendor> a = vendorOfPath(nominalPath);
        const std::optional<Vendor> b = vendorOfPath(measuredPath);
        vendor = a && !b && measuredPath.ends_with(".bak")  ? a
                 : b && !a && nominalPath.ends_with(".bak") ? b
                                                            : std::nullopt;
    }
    Side nominal;
    Side measured;
    if (!readSide(nominalPath, vendor, nominal, message) ||
        !readSide(measuredPath, vendor, measured, message)) {
        return false;
    }
    // Two folders are matched file by file; anything else by name alone.
    const bool byFile = nominal.folder && measured.folder;
    const auto keyOf = [&](const SidePoint& point) {
        return (byFile ? point.file + '\n' : std::string()) + nameKey(point.name);
    };
    std::map<std::string, const SidePoint*> measuredByKey;
    for (const SidePoint& point : measured.points) {
        const auto [where, added] = measuredByKey.emplace(keyOf(point), &point);
        if (!added) {
            message = fmt::format("{}: {} matches twice, at {} and {}", measuredPath, point.name,
                                  where->second->source, point.source);
            return false;
        }
    }
    // Whether --select and --exclude keep a point of either side.
    const auto kept = [&](const SidePoint& point) {
        const std::string name = byFile ? point.file + ":" + point.name : point.name;
        return (select.empty() || matchesAny(select, point.name)) && !matchesAny(exclude, name) &&
               !matchesAny(exclude, point.name);
    };
    std::set<std::string> matchedKeys;
    std::map<std::string, const SidePoint*> nominalByKey;
    for (const SidePoint& point : nominal.points) {
        const auto [where, added] = nominalByKey.emplace(keyOf(point), &point);
        if (!added) {
            message = fmt::format("{}: {} matches twice, at {} and {}", nominalPath, point.name,
                                  where->second->source, point.source);
            return false;
        }
        if (!select.empty() && !matchesAny(select, point.name)) {
            continue;
        }
        const auto match = measuredByKey.find(keyOf(point));
        if (match == measuredByKey.end()) {
            if (unmatched != nullptr && kept(point)) {
                unmatched->push_back(UnmatchedPoint{point.name, nominalPath, point.source, true});
            }
            continue;
        }
        matchedKeys.insert(keyOf(point));
        FitPair pair;
        pair.poseName = point.name;
        pair.name = byFile ? point.file + ":" + point.name : point.name;
        if (matchesAny(exclude, pair.name) || matchesAny(exclude, pair.poseName)) {
            continue;
        }
        for (const SidePoint* side : {&point, match->second}) {
            if (!side->problem.empty()) {
                message = side->problem + " (leave it out with --exclude or --select)";
                return false;
            }
        }
        pair.nominalSource = point.source;
        pair.measuredSource = match->second->source;
        pair.nominal = point.point;
        pair.measured = match->second->point;
        pair.vendor = match->second->vendor ? match->second->vendor : point.vendor;
        pairs.push_back(std::move(pair));
    }
    for (const SidePoint& point : measured.points) {
        if (unmatched != nullptr && matchedKeys.count(keyOf(point)) == 0 && kept(point)) {
            unmatched->push_back(UnmatchedPoint{point.name, measuredPath, point.source, false});
        }
    }
    if (pairs.empty()) {
        message =
            fmt::format("no point of {} has its namesake in {}{}", nominalPath, measuredPath,
                        select.empty() && exclude.empty() ? "" : " (after --select and --exclude)");
        return false;
    }
    return true;
}

RigidFit fitPairs(const std::vector<FitPair>& pairs) {
    std::vector<Point3> nominal;
    std::vector<Point3> measured;
    std::vector<std::string> names;
    for (const FitPair& pair : pairs) {
        nominal.push_back(pair.nominal);
        measured.push_back(pair.measured);
        names.push_back(pair.name);
    }
    return fitRigid(nominal, measured, names);
}

std::string whereNamed(const std::string& refusal, const std::vector<FitPair>& pairs) {
    std::string where;
    for (const FitPair& pair : pairs) {
        if (refusal.find(pair.name) != std::string::npos) {
            where += fmt::format("{}{} at {} and {}", where.empty() ? "; " : ", ", pair.name,
                                 pair.nominalSource, pair.measuredSource);
        }
    }
    return where;
}
