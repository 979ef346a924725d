#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/inputs/pose_text.h"
#include "cli/output/safe_file.h"
#include "cli/output/warning_list.h"
#include "robotfiles/frame_pose.h"
#include "robotfiles/name_pattern.h"
#include "robotfiles/rebase_stream.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Why a pose was left alone, for the closing report.
enum class Reason {
    frame,
    workObject,
    remoteTcp,
    notMatched,
    partial,
    uninitialised,
    notUnit,
    notMoved
};

const char* reasonText(Reason reason) {
    switch (reason) {
    case Reason::frame:
        return "frames (move them with --include-frames)";
    case Reason::workObject:
        return "wobjdata (its pose is uframe * oframe: move the frames themselves)";
    case Reason::remoteTcp:
        return "remote-TCP groups (--include-remote-tcp)";
    case Reason::notMatched:
        return "not matched by --select";
    case Reason::partial:
        return "partial";
    case Reason::uninitialised:
        return "uninitialised";
    case Reason::notUnit:
        return "quaternion not of unit length";
    case Reason::notMoved:
        return "not moved by the frames";
    }
    return "?";
}

std::optional<Reason> leftAlone(const RebaseOptions& options, const InputFile& file,
                                const PoseRecord& pose) {
    if (!options.includeFrames && isFramePose(fileNameOf(file), pose)) {
        return Reason::frame;
    }
    // Its pose is a product that no number of the file holds: which of the
    // two frames should change is the user's decision, not ours.
    if (pose.type == "wobjdata") {
        return Reason::workObject;
    }
    if (!options.includeRemoteTcp && pose.remoteTcp) {
        return Reason::remoteTcp;
    }
    if (!options.select.empty()) {
        bool matched = false;
        for (const std::string& pattern : options.select) {
            matched = matched || (!pose.name.empty() && matchesPattern(pattern, pose.name));
        }
        if (!matched) {
            return Reason::notMatched;
        }
    }
    return std::nullopt;
}

Reason statusReason(PoseStatus status) {
    return status == PoseStatus::partial         ? Reason::partial
           : status == PoseStatus::uninitialised ? Reason::uninitialised
                                                 : Reason::notUnit;
}

// PRE and POST: the frames multiplied left to right in the order given.
bool composeFrames(const RebaseOptions& options, Transform& pre, Transform& post) {
    pre = identityTransform();
    post = identityTransform();
    for (const RebaseFrame& frame : options.frames) {
        Transform m;
        NotationText carried;
        const Notation* notation = nullptr;
        std::string message;
        if (!readPoseText(frame.text, "", m, carried, notation, message)) {
            std::fprintf(stderr, "posebridge-cli: %s %s: %s\n",
                         frame.post ? (frame.inverse ? "--post-inverse" : "--post")
                                    : (frame.inverse ? "--pre-inverse" : "--pre"),
                         frame.text.c_str(), message.c_str());
            return false;
        }
        if (frame.inverse) {
            m = inverse(m);
        }
        (frame.post ? post : pre) = multiply(frame.post ? post : pre, m);
    }
    return true;
}

bool isInside(const fs::path& inner, const fs::path& outer) {
    std::error_code error;
    const fs::path a = fs::weakly_canonical(inner, error);
    const fs::path b = fs::weakly_canonical(outer, error);
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (bi->empty()) {
            continue;
        }
        if (ai == a.end() || *ai != *bi) {
            return false;
        }
    }
    return true;
}

// Where each file's result goes; false (with messages) when the output
// folder lies inside an input or two inputs would land on one file.
bool planDestinations(const RebaseOptions& options, const std::vector<InputFile>& files,
                      std::vector<fs::path>& destinations) {
    if (options.inPlace) {
        for (const InputFile& file : files) {
            destinations.push_back(file.path);
        }
        return true;
    }
    const fs::path out = pathFromUtf8(options.outDir);
    for (const std::string& given : options.paths) {
        const fs::path input = pathFromUtf8(given);
        std::error_code error;
        const fs::path folder = fs::is_directory(input, error) ? input : input.parent_path();
        if (fs::is_directory(input, error) && (isInside(out, folder) || isInside(folder, out))) {
            std::fprintf(stderr, "posebridge-cli: --out %s lies inside the input %s: refused\n",
                         options.outDir.c_str(), given.c_str());
            return false;
        }
    }
    std::set<fs::path> taken;
    for (const InputFile& file : files) {
        const fs::path destination = out / pathFromUtf8(file.relative);
        if (!taken.insert(destination.lexically_normal()).second) {
            std::fprintf(stderr, "posebridge-cli: %s: another input is written to the same place\n",
                         file.shown.c_str());
            return false;
        }
        if (isInside(destination, file.path) && isInside(file.path, destination)) {
            std::fprintf(stderr, "posebridge-cli: %s: --out would overwrite the input\n",
                         file.shown.c_str());
            return false;
        }
        destinations.push_back(destination);
    }
    return true;
}

} // namespace

int runRebase(const RebaseOptions& options) {
    Transform pre;
    Transform post;
    if (!composeFrames(options, pre, post)) {
        return exitTrouble;
    }
    const FileListResult list = listInputFiles(options.paths, std::nullopt);
    for (const std::string& error : list.errors) {
        std::fprintf(stderr, "posebridge-cli: %s\n", error.c_str());
    }
    std::vector<fs::path> destinations;
    if (!list.errors.empty() || !planDestinations(options, list.files, destinations)) {
        return exitTrouble;
    }

    std::map<Reason, std::uint64_t> alone;
    std::uint64_t changed = 0;
    std::uint64_t written = 0;
    bool trouble = false;
    for (std::size_t k = 0; k < list.files.size(); ++k) {
        const InputFile& file = list.files[k];
        std::FILE* in = openForReading(file.path);
        if (in == nullptr) {
            std::fprintf(stderr, "posebridge-cli: %s: cannot read: %s\n", file.shown.c_str(),
                         std::strerror(errno));
            trouble = true;
            continue;
        }
        std::error_code folderError;
        fs::create_directories(destinations[k].parent_path(), folderError);
        SafeFile out;
        std::string error;
        if (!openSafeFile(destinations[k], out, error)) {
            std::fclose(in);
            std::fprintf(stderr, "posebridge-cli: %s: %s\n", utf8FromPath(destinations[k]).c_str(),
                         error.c_str());
            trouble = true;
            continue;
        }
        std::map<Reason, std::uint64_t> fileAlone;
        std::string notes;
        RebaseCallbacks callbacks;
        callbacks.selected = [&](const PoseRecord& pose) {
            return !leftAlone(options, file, pose).has_value();
        };
        callbacks.fate = [&](const PoseRecord& pose, PoseFate fate) {
            switch (fate) {
            case PoseFate::changed:
                break;
            case PoseFate::unchanged:
                ++fileAlone[Reason::notMoved];
                break;
            case PoseFate::notSelected:
                ++fileAlone[*leftAlone(options, file, pose)];
                break;
            case PoseFate::notConvertible:
                ++fileAlone[statusReason(pose.status)];
                notes += fmt::format("{}:{}:{}: note: {} is {}: left as it is\n", file.shown,
                                     pose.line, pose.column,
                                     pose.name.empty() ? std::string("an inline value") : pose.name,
                                     reasonText(statusReason(pose.status)));
                break;
            }
        };
        WarningList warnings;
        warnings.file = file.shown;
        callbacks.warning = [&](const ScanWarning& warning) { addWarning(warnings, warning); };
        const RebaseStreamResult result =
            rebaseStream(in, out.stream, file.vendor, pre, post, callbacks);
        std::fclose(in);
        std::fputs((warningText(warnings) + notes).c_str(), stderr);

        if (!result.readOk || !result.writeOk || result.refused) {
            abandonSafeFile(out);
            std::fprintf(stderr, "posebridge-cli: %s: left untouched: %s\n", file.shown.c_str(),
                         result.error.c_str());
            trouble = true;
            continue;
        }
        // In place, a file in which nothing moved is not written at all.
        if (options.inPlace && result.changedPoses == 0) {
            abandonSafeFile(out);
        } else {
            if (options.inPlace && !options.noBackup) {
                fs::path backup = file.path;
                backup += ".bak";
                std::error_code copied;
                fs::copy_file(file.path, backup, fs::copy_options::overwrite_existing, copied);
                if (copied) {
                    abandonSafeFile(out);
                    std::fprintf(stderr, "posebridge-cli: %s: left untouched: cannot keep %s: %s\n",
                                 file.shown.c_str(), utf8FromPath(backup).c_str(),
                                 copied.message().c_str());
                    trouble = true;
                    continue;
                }
            }
            if (!commitSafeFile(out, error)) {
                std::fprintf(stderr, "posebridge-cli: %s: %s\n",
                             utf8FromPath(destinations[k]).c_str(), error.c_str());
                trouble = true;
                continue;
            }
            ++written;
        }
        changed += result.changedPoses;
        for (const auto& [reason, count] : fileAlone) {
            alone[reason] += count;
        }
    }

    std::string report =
        fmt::format("rebase: {} poses changed, {} files written", changed, written);
    for (const auto& [reason, count] : alone) {
        report += fmt::format("; left alone: {} {}", count, reasonText(reason));
    }
    std::fprintf(stderr, "%s\n", report.c_str());
    if (changed > 0) {
        std::fprintf(stderr, "posebridge-cli: configurations (KUKA S and T, ABB robconf, FANUC "
                             "CONFIG) were kept: check reach and configuration on the robot\n");
    }
    return trouble ? exitTrouble : exitDone;
}
