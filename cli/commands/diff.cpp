#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/inputs/file_pairs.h"
#include "cli/output/diff_output.h"
#include "cli/output/messages.h"
#include "cli/output/table_cell.h"
#include "cli/output/warning_list.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_match.h"

#include <fmt/format.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct DiffOptions {
    std::string oldPath; // a file or a folder
    std::string newPath;
    double toleranceMm = 0.001;
    double toleranceDeg = 0.001;
    double jointToleranceDeg = 0.001;
    OutputFormat format = OutputFormat::table;
};

int runDiff(const DiffOptions& options) {
    if (!(options.toleranceMm >= 0.0) || !(options.toleranceDeg >= 0.0) ||
        !(options.jointToleranceDeg >= 0.0)) {
        printError("--tolerance, --joint-tolerance: millimetres and degrees must be 0 or more");
        return exitTrouble;
    }
    const std::optional<Vendor> vendor = singleFilesVendor(options.oldPath, options.newPath);
    const FileListResult before = listInputFiles({options.oldPath}, vendor);
    const FileListResult after = listInputFiles({options.newPath}, vendor);
    for (const FileListResult* list : {&before, &after}) {
        for (const std::string& error : list->errors) {
            printError("{}", error);
        }
    }
    if (!before.errors.empty() || !after.errors.empty()) {
        return exitTrouble;
    }

    const bool table = options.format == OutputFormat::table;
    std::string text;
    const std::vector<FilePair> pairs =
        pairFiles(options.oldPath, options.newPath, before.files, after.files);
    // Room for the longest file and a line number of six digits, within reason.
    std::size_t fileColumn = 36;
    for (const FilePair& pair : pairs) {
        fileColumn = std::clamp<std::size_t>(displayWidth(pair.relative) + 7, fileColumn, 72);
    }
    std::atomic<std::uint64_t> cut{0};
    if (table) {
        appendDiffTableHeader(text, fileColumn);
    }
    const DiffTolerance tolerance{options.toleranceMm, options.toleranceDeg,
                                  options.jointToleranceDeg};
    DiffCounts counts;
    bool trouble = false;
    std::vector<PoseRecord> oldPoses;
    std::vector<PoseRecord> newPoses;
    std::vector<DiffFinding> findings;
    const ProgramUses oldUses = readProgramUses(before.files);
    const ProgramUses newUses = readProgramUses(after.files);
    for (const FilePair& pair : pairs) {
        oldPoses.clear();
        newPoses.clear();
        findings.clear();
        if ((pair.before != nullptr && !readPoses(*pair.before, oldUses, oldPoses)) ||
            (pair.after != nullptr && !readPoses(*pair.after, newUses, newPoses))) {
            trouble = true;
            continue;
        }
        ++counts.files;
        compareFilePoses(oldPoses, newPoses, tolerance, findings, counts);
        for (const DiffFinding& finding : findings) {
            if (table) {
                appendDiffTableRow(text, pair.relative, finding, fileColumn, &cut);
            } else {
                appendDiffJson(text, pair.relative, finding);
            }
        }
        std::fwrite(text.data(), 1, text.size(), stdout);
        text.clear();
    }
    if (table) {
        text += diffCountsText(counts) + "\n";
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    if (cut > 0) {
        printError("{} names or paths longer than their column were cut with \u2026; --format json "
                   "gives them whole",
                   cut.load());
    }
    // The table ends with the counts already; said twice on a terminal otherwise.
    if (!table) {
        fmt::print(stderr, "posebridge-cli diff: {}\n", diffCountsText(counts));
    }

    if (trouble) {
        return exitTrouble;
    }
    bool differs = false;
    for (int status = 0; status < diffStatusCount; ++status) {
        differs = differs || (status != static_cast<int>(DiffStatus::unchanged) &&
                              counts.byStatus[status] > 0);
    }
    return differs ? exitDiffers : exitDone;
}

DiffOptions given;
std::vector<double> tolerance;
CLI::Option* formatOption = nullptr;

const char* const examples = R"(Examples:
  posebridge-cli diff backup-2026-11/ backup-2026-12/
  posebridge-cli diff --tolerance 0.5,0.1 --format json old/R1 new/R1 > moved.jsonl

Poses are matched by their file's path relative to OLD and NEW and their name
(FANUC by P[n] and group; inline values by their order in the file). Joint
positions (E6AXIS, jointtarget, FANUC joint groups) are compared axis by axis.
Exit status:
  0  nothing differs beyond the tolerances
  1  something differs: moved, added, removed or changed
  2  a usage error, or a file that cannot be read
)";

void addOptions(CLI::App& command, ChoiceTable& choices) {
    command
        .add_option("--tolerance", tolerance,
                    "what counts as moved: millimetres and degrees (default 0.001,0.001)")
        ->delimiter(',')
        ->expected(2)
        ->type_name("MM,DEG");
    command
        .add_option("--joint-tolerance", given.jointToleranceDeg,
                    "what counts as a moved joint position: the largest change of one axis, in "
                    "degrees (mm for a linear axis; default 0.001)")
        ->type_name("DEG");
    formatOption = addFormatOption(
        command, choices, given.format, {OutputFormat::table, OutputFormat::json},
        "table (the default on a terminal) or json (JSON Lines, the default otherwise)");
    command.add_option("old", given.oldPath, "the earlier backup")->required()->type_name("OLD");
    command.add_option("new", given.newPath, "the later backup")->required()->type_name("NEW");
    command.footer(examples);
}

int run(const CommandContext&) {
    if (tolerance.size() == 2) {
        given.toleranceMm = tolerance[0];
        given.toleranceDeg = tolerance[1];
    }
    given.format = formatOrDefault(formatOption, given.format);
    return runDiff(given);
}

} // namespace

const Command diffCommand = {"diff",
                             "Compare two backups (files or folders) pose by pose; exit status 1 "
                             "when anything differs.",
                             addOptions, run};
