#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/inputs/pose_text.h"
#include "cli/output/messages.h"
#include "cli/output/safe_file.h"
#include "cli/output/warning_list.h"
#include "robotfiles/frame_pose.h"
#include "robotfiles/pose_names.h"
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

// One --pre, --pre-inverse, --post or --post-inverse frame, in the order given.
struct RebaseFrame {
    bool post = false;    // applied after the pose (POST) rather than before (PRE)
    bool inverse = false; // its inverse is applied
    std::string text;     // any pose `convert` reads
};

struct RebaseOptions {
    std::vector<std::string> paths;
    std::vector<RebaseFrame> frames;
    std::vector<std::string> select; // name patterns with * and ?
    bool includeFrames = false;
    bool includeRemoteTcp = false;
    std::string outDir; // --out
    bool inPlace = false;
    bool noBackup = false;
};

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
            printError("{} {}: {}",
                       frame.post ? (frame.inverse ? "--post-inverse" : "--post")
                                  : (frame.inverse ? "--pre-inverse" : "--pre"),
                       frame.text, message);
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
            printError("--out {} lies inside the input {}: refused", options.outDir, given);
            return false;
        }
    }
    std::set<fs::path> taken;
    for (const InputFile& file : files) {
        const fs::path destination = out / pathFromUtf8(file.relative);
        if (!taken.insert(destination.lexically_normal()).second) {
            printError("{}: another input is written to the same place", file.shown);
            return false;
        }
        if (isInside(destination, file.path) && isInside(file.path, destination)) {
            printError("{}: --out would overwrite the input", file.shown);
            return false;
        }
        destinations.push_back(destination);
    }
    return true;
}

int runRebase(const RebaseOptions& options) {
    Transform pre;
    Transform post;
    if (!composeFrames(options, pre, post)) {
        return exitTrouble;
    }
    const FileListResult list = listInputFiles(options.paths, std::nullopt);
    for (const std::string& error : list.errors) {
        printError("{}", error);
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
            printError("{}: cannot read: {}", file.shown, std::strerror(errno));
            trouble = true;
            continue;
        }
        std::error_code folderError;
        fs::create_directories(destinations[k].parent_path(), folderError);
        SafeFile out;
        std::string error;
        if (!openSafeFile(destinations[k], out, error)) {
            std::fclose(in);
            printError("{}: {}", utf8FromPath(destinations[k]), error);
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
            printError("{}: left untouched: {}", file.shown, result.error);
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
                    printError("{}: left untouched: cannot keep {}: {}", file.shown,
                               utf8FromPath(backup), copied.message());
                    trouble = true;
                    continue;
                }
            }
            if (!commitSafeFile(out, error)) {
                printError("{}: {}", utf8FromPath(destinations[k]), error);
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
        printError("configurations (KUKA S and T, ABB robconf, FANUC CONFIG) were kept: check "
                   "reach and configuration on the robot");
    }
    return trouble ? exitTrouble : exitDone;
}

RebaseOptions options;
// The frames as each option collected them; run puts them in the order given.
std::vector<std::string> frameTexts[4];
CLI::Option* frameOptions[4] = {};

const char* const examples = R"(Examples:
  points keep their place in the world after the base was re-measured:
    posebridge-cli rebase --pre-inverse "$B_NEW" --pre "$B_OLD" --out rebased/ backup/R1
  points follow a fixture that moved by F in the base:
    posebridge-cli rebase --pre "{X 12,Y 0,Z 0,A 0,B 0,C 0}" --in-place Folge1.dat
  the flange follows its old path after the tool changed from T_OLD to T_NEW:
    posebridge-cli rebase --post-inverse "$T_OLD" --post "$T_NEW" --out rebased/ main.mod

Only the selected numbers change; every other byte of a file stays as it was.
Reach and configuration (S and T, robconf, CONFIG) must be checked on the robot.
)";

void addOptions(CLI::App& command, ChoiceTable&) {
    // --pre, --pre-inverse, --post, --post-inverse: index k is post when k >= 2,
    // inverse when k is odd.
    const char* names[4] = {"--pre", "--pre-inverse", "--post", "--post-inverse"};
    const char* descriptions[4] = {"a frame applied before every pose (any pose convert reads)",
                                   "the inverse of a frame, applied before",
                                   "a frame applied after every pose",
                                   "the inverse of a frame, applied after"};
    for (int k = 0; k < 4; ++k) {
        frameOptions[k] = command.add_option(names[k], frameTexts[k], descriptions[k])
                              ->type_name("F")
                              ->allow_extra_args(false)
                              ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    command.add_option("--select", options.select, "only poses whose names match (p1*,XP?)")
        ->delimiter(',')
        ->type_name("NAMES");
    command.add_flag("--include-frames", options.includeFrames,
                     "also move frames: $config.dat, system variables, nested aggregates, "
                     "tooldata, wobjdata, pose");
    command.add_flag("--include-remote-tcp", options.includeRemoteTcp,
                     "also move FANUC remote-TCP groups");
    CLI::Option* outOption =
        command.add_option("--out", options.outDir, "write a complete rebased copy here")
            ->type_name("DIR");
    CLI::Option* inPlaceOption =
        command.add_flag("--in-place", options.inPlace, "replace each file, keeping NAME.bak");
    command.add_flag("--no-backup", options.noBackup, "with --in-place: keep no NAME.bak")
        ->needs(inPlaceOption);
    outOption->excludes(inPlaceOption);
    command.add_option("paths", options.paths, "files and folders")->required()->type_name("PATH");
    command.footer(examples);
}

int run(const CommandContext& context) {
    if (options.outDir.empty() && !options.inPlace) {
        printError("rebase needs --out DIR or --in-place\nRun with --help for more information.");
        return exitTrouble;
    }
    // The frames in the order given on the command line, whichever option named them.
    std::size_t taken[4] = {};
    for (const CLI::Option* given : context.command.parse_order()) {
        for (int k = 0; k < 4; ++k) {
            if (given == frameOptions[k] && taken[k] < frameTexts[k].size()) {
                options.frames.push_back(
                    RebaseFrame{k >= 2, k % 2 == 1, frameTexts[k][taken[k]++]});
            }
        }
    }
    return runRebase(options);
}

} // namespace

const Command rebaseCommand = {
    "rebase", "Move every selected position by frames: P becomes PRE * P * POST.", addOptions, run};
