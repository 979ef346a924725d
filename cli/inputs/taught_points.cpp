#include "cli/inputs/taught_points.h"

#include "cli/inputs/file_poses.h"

#include "cli/inputs/pose_text.h"
#include "cli/output/warning_list.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/pose_names.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

bool isRegularFile(const std::string& text) {
    std::error_code error;
    return !text.empty() && std::filesystem::is_regular_file(pathFromUtf8(text), error);
}

// The one file of a PATH as the readers take it, or a message.
bool programFile(const std::string& path, InputFile& file, std::string& message) {
    const FileListResult list = listInputFiles({path}, std::nullopt);
    if (!list.errors.empty()) {
        message = list.errors.front();
        return false;
    }
    if (list.files.size() != 1 || !isRegularFile(path)) {
        message = fmt::format("{}: expected one program file (.dat .src .sub, .mod .modx .sys "
                              ".prg, .ls)",
                              path);
        return false;
    }
    file = list.files.front();
    return true;
}

} // namespace

bool positionOfRecord(const PoseRecord& pose, Point3& position) {
    if (pose.status == PoseStatus::uninitialised) {
        return false;
    }
    double* targets[3] = {&position.x, &position.y, &position.z};
    const char* keys[3] = {"x", "y", "z"};
    for (int k = 0; k < 3; ++k) {
        const auto member = std::find_if(pose.values.begin(), pose.values.end(),
                                         [&](const PoseMember& m) { return m.key == keys[k]; });
        if (member == pose.values.end()) {
            return false;
        }
        *targets[k] = member->value;
    }
    return true;
}

bool taughtOfRecord(const InputFile& file, const PoseRecord& pose, bool needPose, TaughtPose& out,
                    std::string& message) {
    out.name = shownName(pose);
    out.source = fmt::format("{}:{}", file.shown, pose.line);
    out.vendor = pose.vendor;
    out.hasOrientation = transformOfRecord(pose, out.pose);
    if (needPose && !out.hasOrientation) {
        message = fmt::format("{}:{}:{}: {} is {}: a whole pose is needed", file.shown, pose.line,
                              pose.column, out.name, statusName(pose.status));
        return false;
    }
    if (!positionOfRecord(pose, out.position)) {
        message = fmt::format("{}:{}:{}: {} is {}: it has no position", file.shown, pose.line,
                              pose.column, out.name, statusName(pose.status));
        return false;
    }
    if (!out.hasOrientation) {
        out.pose = identityTransform();
    }
    return true;
}

bool readBarePoint(const std::string& text, Point3& point) {
    double values[3];
    std::size_t pos = 0;
    for (int k = 0; k < 3; ++k) {
        pos = skipBlanks(text, pos);
        if (k > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                return false;
            }
            pos = skipBlanks(text, pos + 1);
        }
        const char* begin = text.data() + pos;
        // from_chars takes no plus sign; a point may well be written with one.
        if (pos < text.size() && text[pos] == '+') {
            ++begin;
        }
        const auto result = std::from_chars(begin, text.data() + text.size(), values[k]);
        if (result.ec != std::errc() || result.ptr == begin) {
            return false;
        }
        pos = static_cast<std::size_t>(result.ptr - text.data());
    }
    if (skipBlanks(text, pos) != text.size()) {
        return false;
    }
    point = Point3{values[0], values[1], values[2]};
    return true;
}

bool resolvePointArgument(const std::string& text, bool needPose, TaughtPose& out,
                          std::string& message) {
    const std::size_t colon = text.rfind(':');
    if (colon != std::string::npos && colon > 0 && colon + 1 < text.size() &&
        isRegularFile(text.substr(0, colon))) {
        InputFile file;
        if (!programFile(text.substr(0, colon), file, message)) {
            return false;
        }
        std::vector<PoseRecord> poses;
        if (!readFilePoses(file, readProgramUses({file}), poses, message)) {
            return false;
        }
        const std::string wanted = nameKey(text.substr(colon + 1));
        const PoseRecord* found = nullptr;
        for (const PoseRecord& pose : poses) {
            if (pose.name.empty() || poseKey(pose) != wanted) {
                continue;
            }
            if (found != nullptr) {
                message = fmt::format("{}: {} matches twice, at lines {} and {}", file.shown,
                                      text.substr(colon + 1), found->line, pose.line);
                return false;
            }
            found = &pose;
        }
        if (found == nullptr) {
            message = fmt::format("{}: no pose named {}", file.shown, text.substr(colon + 1));
            return false;
        }
        return taughtOfRecord(file, *found, needPose, out, message);
    }
    // A reference to a file that is not there, rather than a text that is no pose.
    if (colon != std::string::npos && colon > 0 && colon + 1 < text.size() &&
        vendorOfPath(text.substr(0, colon)) && !isRegularFile(text.substr(0, colon))) {
        message = fmt::format("{}: no such file (in the point {})", text.substr(0, colon), text);
        return false;
    }
    out.name = text;
    out.source = "command line";
    if (readBarePoint(text, out.position)) {
        if (needPose) {
            message = fmt::format("{}: a whole pose is needed here, not a bare point", text);
            return false;
        }
        out.pose = identityTransform();
        at(out.pose, 0, 3) = out.position.x;
        at(out.pose, 1, 3) = out.position.y;
        at(out.pose, 2, 3) = out.position.z;
        return true;
    }
    NotationText carried;
    const Notation* notation = nullptr;
    if (!readPoseText(text, "", out.pose, carried, notation, message)) {
        message =
            fmt::format("{}: not PATH:NAME of a program file, x,y,z or a pose: {}", text, message);
        return false;
    }
    out.hasOrientation = true;
    out.position = translationOf(out.pose);
    out.vendor = vendorOfNotation(notation);
    return true;
}

bool selectFilePoints(const std::string& path, const std::vector<std::string>& patterns,
                      bool needPose, std::vector<TaughtPose>& out, std::string& message) {
    InputFile file;
    std::vector<PoseRecord> poses;
    if (!programFile(path, file, message) ||
        !readFilePoses(file, readProgramUses({file}), poses, message)) {
        return false;
    }
    std::vector<const PoseRecord*> chosen;
    for (const PoseRecord& pose : poses) {
        const std::string name = shownName(pose);
        const bool matched =
            patterns.empty() ||
            std::any_of(patterns.begin(), patterns.end(),
                        [&](const std::string& pattern) { return matchesPattern(pattern, name); });
        if (!pose.name.empty() && matched) {
            chosen.push_back(&pose);
        }
    }
    std::stable_sort(chosen.begin(), chosen.end(), [](const PoseRecord* a, const PoseRecord* b) {
        return naturalNameLess(shownName(*a), shownName(*b));
    });
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        if (k > 0 && poseKey(*chosen[k]) == poseKey(*chosen[k - 1])) {
            message = fmt::format("{}: {} matches twice, at lines {} and {}", file.shown,
                                  shownName(*chosen[k]), chosen[k - 1]->line, chosen[k]->line);
            return false;
        }
        TaughtPose taught;
        if (!taughtOfRecord(file, *chosen[k], needPose, taught, message)) {
            return false;
        }
        out.push_back(std::move(taught));
    }
    return true;
}

bool resolvePoints(const std::vector<std::string>& given, const std::string& pointsPath,
                   const std::vector<std::string>& select, bool needPose,
                   std::vector<TaughtPose>& out, std::string& message) {
    if (!given.empty() && !pointsPath.empty()) {
        message = "give the points one by one or with --points, not both";
        return false;
    }
    if (given.empty() && pointsPath.empty()) {
        message = "no points given: name them (PATH:NAME, a pose, x,y,z) or use --points PATH";
        return false;
    }
    if (!select.empty() && pointsPath.empty()) {
        message = "--select picks the poses of --points PATH";
        return false;
    }
    if (!pointsPath.empty()) {
        return selectFilePoints(pointsPath, select, needPose, out, message);
    }
    for (const std::string& text : given) {
        TaughtPose taught;
        if (!resolvePointArgument(text, needPose, taught, message)) {
            return false;
        }
        out.push_back(std::move(taught));
    }
    return true;
}

std::optional<Vendor> vendorOfPoints(const std::vector<TaughtPose>& points) {
    for (const TaughtPose& point : points) {
        if (point.vendor) {
            return point.vendor;
        }
    }
    return std::nullopt;
}

std::string whereNamed(const std::string& refusal, const std::vector<TaughtPose>& points) {
    std::string where;
    for (const TaughtPose& point : points) {
        if (point.source != "command line" && refusal.find(point.name) != std::string::npos &&
            where.find(" " + point.name + " at ") == std::string::npos) {
            where +=
                fmt::format("{}{} at {}", where.empty() ? "; " : ", ", point.name, point.source);
        }
    }
    return where;
}
