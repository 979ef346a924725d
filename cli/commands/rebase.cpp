#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/inputs/file_poses.h"
#include "cli/inputs/pose_text.h"
#include "cli/output/messages.h"
#include "cli/output/safe_file.h"
#include "cli/output/staged_folder.h"
#include "cli/output/warning_list.h"
#include "robotfiles/pose_names.h"
#include "robotfiles/rebase_stream.h"

#include <fmt/format.h>

#include <algorithm>
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
    bool includeAssignments = false;
    std::string outDir; // --out
    bool inPlace = false;
    bool noBackup = false;
};

// Why a pose was left alone, for the closing report: first its role, then
// what else kept it.
enum class Reason {
    offset,
    frame,
    remoteTcp,
    assignment,
    initialisation,
    joint,
    undecided,
    workObject,
    notMatched,
    partial,
    uninitialised,
    notUnit,
    notMoved
};

const char* reasonText(Reason reason) {
    switch (reason) {
    case Reason::offset:
        return "offset (moves with the pose it is relative to)";
    case Reason::frame:
        return "frame (move them with --include-frames)";
    case Reason::remoteTcp:
        return "FANUC remote-TCP groups (--include-remote-tcp)";
    case Reason::assignment:
        return "assignment in code (--include-assignments)";
    case Reason::initialisation:
        return "initialisation (an all-zero start value)";
    case Reason::joint:
        return "joint (axis values, never moved)";
    case Reason::undecided:
        return "undecided (each warned above)";
    case Reason::workObject:
        return "wobjdata (its pose is uframe * oframe: move the frames themselves)";
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

// Only taught positions move unless an option says otherwise.
std::optional<Reason> leftAlone(const RebaseOptions& options, const PoseRecord& pose) {
    switch (pose.role) {
    case PoseRole::position:
        break;
    case PoseRole::frame:
        if (pose.remoteTcp ? !options.includeRemoteTcp : !options.includeFrames) {
            return pose.remoteTcp ? Reason::remoteTcp : Reason::frame;
        }
        break;
    case PoseRole::assignment:
        if (!options.includeAssignments) {
            return Reason::assignment;
        }
        break;
    case PoseRole::offset:
        return Reason::offset;
    case PoseRole::initialisation:
        return Reason::initialisation;
    case PoseRole::joint:
        return Reason::joint;
    case PoseRole::undecided:
        return Reason::undecided;
    }
    // Its pose is a product that no number of the file holds: which of the
    // two frames should change is the user's decision, not ours.
    if (pose.type == "wobjdata") {
        return Reason::workObject;
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

// What the whole run did, for the closing report.
struct Tally {
    std::map<PoseRole, std::uint64_t> changed;
    std::map<Reason, std::uint64_t> alone;
    std::uint64_t changedPoses = 0;
    std::uint64_t filesChanged = 0;
};

// Rebases one program file from `in` to `out`; false with the trouble
// printed (the file named) when it cannot be rewritten safely.
bool rebaseFile(const RebaseOptions& options, const InputFile& file, const ProgramUses& uses,
                const Transform& pre, const Transform& post, std::FILE* in, std::FILE* out,
                Tally& tally, std::uint64_t& changed) {
    const std::string name = fileNameOf(file);
    ScanContext context;
    context.fileName = name;
    context.krlUsage = &uses.krl;
    Tally fileTally;
    std::string notes;
    RebaseCallbacks callbacks;
    callbacks.selected = [&](const PoseRecord& pose) {
        return !leftAlone(options, pose).has_value();
    };
    callbacks.fate = [&](const PoseRecord& pose, PoseFate fate) {
        const std::string shown = pose.name.empty() ? std::string("an inline value") : pose.name;
        switch (fate) {
        case PoseFate::changed:
            ++fileTally.changed[pose.role];
            break;
        case PoseFate::unchanged:
            ++fileTally.alone[Reason::notMoved];
            break;
        case PoseFate::notSelected: {
            const Reason reason = *leftAlone(options, pose);
            ++fileTally.alone[reason];
            if (reason == Reason::assignment) {
                notes += fmt::format("{}:{}:{}: note: {} is assigned in code: left alone (it may "
                                     "be a position: --include-assignments moves it)\n",
                                     file.shown, pose.line, pose.column, shown);
            }
            break;
        }
        case PoseFate::notConvertible:
            ++fileTally.alone[statusReason(pose.status)];
            notes += fmt::format("{}:{}:{}: note: {} is {}: left as it is\n", file.shown, pose.line,
                                 pose.column, shown, reasonText(statusReason(pose.status)));
            break;
        }
    };
    WarningList warnings;
    warnings.file = file.shown;
    callbacks.warning = [&](const ScanWarning& warning) { addWarning(warnings, warning); };
    const RebaseStreamResult result =
        rebaseStream(in, out, file.vendor, context, pre, post, callbacks);
    const std::string text = warningText(warnings) + notes;
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (!result.readOk || !result.writeOk || result.refused) {
        printError("{}: cannot be rebased safely: {}", file.shown, result.error);
        return false;
    }
    changed = result.changedPoses;
    tally.changedPoses += result.changedPoses;
    tally.filesChanged += result.changedPoses > 0 ? 1 : 0;
    for (const auto& [role, count] : fileTally.changed) {
        tally.changed[role] += count;
    }
    for (const auto& [reason, count] : fileTally.alone) {
        tally.alone[reason] += count;
    }
    return true;
}

// Rebases one program file into a new file at `to`, which keeps the
// original's time when nothing in it moved (its bytes are the same).
bool rebaseInto(const RebaseOptions& options, const InputFile& file, const ProgramUses& uses,
                const Transform& pre, const Transform& post, const fs::path& to, Tally& tally) {
    std::FILE* in = openForReading(file.path);
    if (in == nullptr) {
        printError("{}: cannot read: {}", file.shown, std::strerror(errno));
        return false;
    }
    std::error_code code;
    fs::create_directories(to.parent_path(), code);
#ifdef _WIN32
    std::FILE* out = _wfopen(to.c_str(), L"wb");
#else
    std::FILE* out = std::fopen(to.c_str(), "wb");
#endif
    if (out == nullptr) {
        std::fclose(in);
        printError("{}: cannot write: {}", utf8FromPath(to), std::strerror(errno));
        return false;
    }
    std::uint64_t changed = 0;
    const bool done = rebaseFile(options, file, uses, pre, post, in, out, tally, changed);
    std::fclose(in);
    if (std::fclose(out) != 0 && done) {
        printError("{}: cannot write: {}", utf8FromPath(to), std::strerror(errno));
        return false;
    }
    if (done && changed == 0) {
        fs::last_write_time(to, fs::last_write_time(file.path, code), code);
    }
    return done;
}

// The program files of the run, by where they are, for the complete copy.
std::map<fs::path, const InputFile*> programsByPath(const std::vector<InputFile>& files) {
    std::map<fs::path, const InputFile*> programs;
    for (const InputFile& file : files) {
        programs[file.path.lexically_normal()] = &file;
    }
    return programs;
}

// --out: a complete copy of each PATH, its programs rebased and every other
// file byte for byte, built in a staged folder that takes DIR's name only
// when every file is in it.
bool rebaseCopy(const RebaseOptions& options, const FileListResult& list, const ProgramUses& uses,
                const Transform& pre, const Transform& post, Tally& tally, std::uint64_t& written) {
    const fs::path out = pathFromUtf8(options.outDir);
    for (const std::string& given : options.paths) {
        const fs::path input = pathFromUtf8(given);
        std::error_code error;
        const fs::path folder = fs::is_directory(input, error) ? input : input.parent_path();
        if (fs::is_directory(input, error) && (isInside(out, folder) || isInside(folder, out))) {
            printError("--out {} lies inside the input {}: refused", options.outDir, given);
            return false;
        }
        if (!fs::is_directory(input, error) && isInside(out / input.filename(), input) &&
            isInside(input, out / input.filename())) {
            printError("{}: --out would overwrite the input", given);
            return false;
        }
    }
    StagedFolder staged;
    std::string message;
    if (!openStagedFolder(out, staged, message)) {
        printError("--out {}: {}", options.outDir, message);
        return false;
    }
    const std::map<fs::path, const InputFile*> programs = programsByPath(list.files);
    std::set<fs::path> taken;
    bool ok = true;
    const auto place = [&](const fs::path& relative, const fs::path& from) {
        const fs::path to = staged.temporary / relative;
        if (!taken.insert(relative.lexically_normal()).second) {
            printError("{}: another input is written to the same place in --out",
                       utf8FromPath(from));
            return false;
        }
        const auto program = programs.find(from.lexically_normal());
        if (program != programs.end()) {
            ++written;
            return rebaseInto(options, *program->second, uses, pre, post, to, tally);
        }
        std::string copyError;
        if (!copyFileKeepingTime(from, to, copyError)) {
            printError("{}: cannot copy: {}", utf8FromPath(from), copyError);
            return false;
        }
        ++written;
        return true;
    };
    for (const std::string& given : options.paths) {
        const fs::path input = pathFromUtf8(given);
        std::error_code error;
        if (!fs::is_directory(input, error)) {
            ok = place(input.filename(), input) && ok;
            continue;
        }
        std::vector<fs::directory_entry> entries;
        fs::recursive_directory_iterator it(input, error);
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            entries.push_back(*it);
        }
        if (error) {
            printError("{}: cannot read the folder: {}", given, error.message());
            ok = false;
        }
        std::sort(entries.begin(), entries.end());
        for (const fs::directory_entry& entry : entries) {
            std::error_code type;
            const fs::path relative = entry.path().lexically_relative(input);
            if (entry.is_directory(type)) {
                fs::create_directories(staged.temporary / relative, type);
            } else if (entry.is_regular_file(type)) {
                ok = place(relative, entry.path()) && ok;
            } else {
                std::fprintf(stderr, "%s: note: not a regular file: not copied\n",
                             utf8FromPath(entry.path()).c_str());
            }
        }
    }
    if (!ok) {
        abandonStagedFolder(staged);
        return false;
    }
    if (!commitStagedFolder(staged, message)) {
        printError("--out {}: {}", options.outDir, message);
        return false;
    }
    return true;
}

// --in-place: every file rebased beside itself first; only when all of them
// could be, each replaces its original in one step, keeping NAME.bak.
bool rebaseInPlace(const RebaseOptions& options, const FileListResult& list,
                   const ProgramUses& uses, const Transform& pre, const Transform& post,
                   Tally& tally, std::uint64_t& written) {
    struct Staged {
        const InputFile* file = nullptr;
        SafeFile out;
        std::uint64_t changed = 0;
    };
    std::vector<Staged> staged;
    bool ok = true;
    for (const InputFile& file : list.files) {
        std::FILE* in = openForReading(file.path);
        if (in == nullptr) {
            printError("{}: cannot read: {}", file.shown, std::strerror(errno));
            ok = false;
            break;
        }
        Staged& next = staged.emplace_back();
        next.file = &file;
        std::string error;
        if (!openSafeFile(file.path, next.out, error)) {
            std::fclose(in);
            staged.pop_back();
            printError("{}: {}", file.shown, error);
            ok = false;
            break;
        }
        const bool done =
            rebaseFile(options, file, uses, pre, post, in, next.out.stream, tally, next.changed);
        std::fclose(in);
        if (!done) {
            ok = false;
            break;
        }
    }
    if (!ok) {
        for (Staged& file : staged) {
            abandonSafeFile(file.out);
        }
        return false;
    }
    bool replaced = true;
    for (Staged& file : staged) {
        // A file in which nothing moved is not written at all.
        if (file.changed == 0) {
            abandonSafeFile(file.out);
            continue;
        }
        std::string error;
        if (!options.noBackup) {
            fs::path backup = file.file->path;
            backup += ".bak";
            std::error_code copied;
            fs::copy_file(file.file->path, backup, fs::copy_options::overwrite_existing, copied);
            if (copied) {
                abandonSafeFile(file.out);
                printError("{}: left untouched: cannot keep {}: {}", file.file->shown,
                           utf8FromPath(backup), copied.message());
                replaced = false;
                continue;
            }
        }
        if (!commitSafeFile(file.out, error)) {
            printError("{}: {}", file.file->shown, error);
            replaced = false;
            continue;
        }
        ++written;
    }
    return replaced;
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
    if (!list.errors.empty()) {
        return exitTrouble;
    }
    const ProgramUses uses = readProgramUses(list.files);
    Tally tally;
    std::uint64_t written = 0;
    const bool done = options.inPlace
                          ? rebaseInPlace(options, list, uses, pre, post, tally, written)
                          : rebaseCopy(options, list, uses, pre, post, tally, written);
    if (!done) {
        printError("rebase refused: nothing was written{}",
                   options.inPlace ? ", no file was changed" : "");
        return exitTrouble;
    }
    std::string byRole;
    for (const auto& [role, count] : tally.changed) {
        byRole += fmt::format("{}{} {}", byRole.empty() ? "" : ", ", count, roleName(role));
    }
    std::string report =
        fmt::format("rebase: {} poses changed{}, {} files written", tally.changedPoses,
                    byRole.empty() ? std::string() : " (" + byRole + ")", written);
    std::string alone;
    for (const auto& [reason, count] : tally.alone) {
        alone += fmt::format("{}{} {}", alone.empty() ? "" : ", ", count, reasonText(reason));
    }
    if (!alone.empty()) {
        report += "; left alone: " + alone;
    }
    fmt::print(stderr, "{}\n", report);
    if (tally.changedPoses > 0) {
        printError("configurations (KUKA S and T, ABB robconf, FANUC CONFIG) were kept: check "
                   "reach and configuration on the robot");
    }
    return exitDone;
}

RebaseOptions given;
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

Only taught positions move: declarations in data and the targets of motions.
Offsets (either side of KRL's ':', *_REL targets, FANUC INC), joint values and
zero start values never move; frames (tools, bases, work objects, loads,
system variables), assignments in code and FANUC remote-TCP groups only with
their --include option. Every input is read and checked before anything is
written: a refusal leaves no output folder and no changed file. Only the
selected numbers change; every other byte of a file stays as it was. Reach
and configuration (S and T, robconf, CONFIG) must be checked on the robot.

Exit status:
  0  done: the copy or the files written
  2  a usage error, a file that cannot be read, or a pose that cannot be
     rewritten safely (nothing is written then)
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
    command.add_option("--select", given.select, "only poses whose names match (p1*,XP?)")
        ->delimiter(',')
        ->type_name("NAMES");
    command.add_flag("--include-frames", given.includeFrames,
                     "also move frames: $config.dat, tools, bases and loads, system variables, "
                     "nested aggregates, tooldata, pose, a KRL FRAME no motion goes to");
    command.add_flag("--include-remote-tcp", given.includeRemoteTcp,
                     "also move FANUC remote-TCP groups");
    command.add_flag("--include-assignments", given.includeAssignments,
                     "also move poses assigned in program code (XP2 = {...}, p := [...])");
    CLI::Option* outOption =
        command.add_option("--out", given.outDir, "write a complete rebased copy here")
            ->type_name("DIR");
    CLI::Option* inPlaceOption =
        command.add_flag("--in-place", given.inPlace, "replace each file, keeping NAME.bak");
    command.add_flag("--no-backup", given.noBackup, "with --in-place: keep no NAME.bak")
        ->needs(inPlaceOption);
    outOption->excludes(inPlaceOption);
    command.add_option("paths", given.paths, "files and folders")->required()->type_name("PATH");
    command.footer(examples);
}

int run(const CommandContext& context) {
    if (given.outDir.empty() && !given.inPlace) {
        printError("rebase needs --out DIR or --in-place\nRun with --help for more information.");
        return exitTrouble;
    }
    // The frames in the order given on the command line, whichever option named them.
    std::size_t taken[4] = {};
    for (const CLI::Option* option : context.command.parse_order()) {
        for (int k = 0; k < 4; ++k) {
            if (option == frameOptions[k] && taken[k] < frameTexts[k].size()) {
                given.frames.push_back(RebaseFrame{k >= 2, k % 2 == 1, frameTexts[k][taken[k]++]});
            }
        }
    }
    return runRebase(given);
}

} // namespace

const Command rebaseCommand = {
    "rebase", "Move every selected position by frames: P becomes PRE * P * POST.", addOptions, run};
