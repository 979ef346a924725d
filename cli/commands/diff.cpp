#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/inputs/file_pairs.h"
#include "cli/output/diff_output.h"
#include "cli/output/warning_list.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_match.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

void printError(const std::string& message) {
    std::fprintf(stderr, "posebridge-cli: %s\n", message.c_str());
}

} // namespace

int runDiff(const DiffOptions& options) {
    if (!(options.toleranceMm >= 0.0) || !(options.toleranceDeg >= 0.0)) {
        printError("--tolerance: millimetres and degrees must be 0 or more");
        return exitTrouble;
    }
    const std::optional<Vendor> vendor = singleFilesVendor(options.oldPath, options.newPath);
    const FileListResult before = listInputFiles({options.oldPath}, vendor);
    const FileListResult after = listInputFiles({options.newPath}, vendor);
    for (const FileListResult* list : {&before, &after}) {
        for (const std::string& error : list->errors) {
            printError(error);
        }
    }
    if (!before.errors.empty() || !after.errors.empty()) {
        return exitTrouble;
    }

    const bool table = options.format == OutputFormat::table;
    std::string text;
    if (table) {
        appendDiffTableHeader(text);
    }
    const DiffTolerance tolerance{options.toleranceMm, options.toleranceDeg};
    DiffCounts counts;
    bool trouble = false;
    std::vector<PoseRecord> oldPoses;
    std::vector<PoseRecord> newPoses;
    std::vector<DiffFinding> findings;
    for (const FilePair& pair :
         pairFiles(options.oldPath, options.newPath, before.files, after.files)) {
        oldPoses.clear();
        newPoses.clear();
        findings.clear();
        if ((pair.before != nullptr && !readPoses(*pair.before, oldPoses)) ||
            (pair.after != nullptr && !readPoses(*pair.after, newPoses))) {
            trouble = true;
            continue;
        }
        ++counts.files;
        compareFilePoses(oldPoses, newPoses, tolerance, findings, counts);
        for (const DiffFinding& finding : findings) {
            if (table) {
                appendDiffTableRow(text, pair.relative, finding);
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
    std::fprintf(stderr, "posebridge-cli diff: %s\n", diffCountsText(counts).c_str());

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
