#include "cli/commands.h"
#include "cli/diff_match.h"
#include "cli/diff_output.h"
#include "cli/exit_codes.h"
#include "cli/file_list.h"
#include "cli/warning_list.h"
#include "robotfiles/file_scan.h"

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

// Every pose of the file, its warnings printed as `list` prints them. False,
// with the file named, when it cannot be read to its end.
bool readPoses(const InputFile& file, std::vector<PoseRecord>& poses) {
    std::FILE* stream = openForReading(file.path);
    if (stream == nullptr) {
        printError(fmt::format("{}: cannot read: {}", file.shown, std::strerror(errno)));
        return false;
    }
    WarningList warnings;
    warnings.file = file.shown;
    ScanCallbacks callbacks;
    callbacks.pose = [&](const PoseRecord& pose) { poses.push_back(pose); };
    callbacks.warning = [&](const ScanWarning& warning) { addWarning(warnings, warning); };
    const LineReadResult result = scanStream(stream, file.vendor, callbacks);
    std::fclose(stream);
    std::fputs(warningText(warnings).c_str(), stderr);
    if (!result.ok) {
        printError(fmt::format("{}: reading stopped: {}", file.shown, result.error));
        return false;
    }
    return true;
}

// One file as the two backups hold it; either side may lack it.
struct FilePair {
    std::string relative;
    const InputFile* before = nullptr;
    const InputFile* after = nullptr;
};

bool isFolder(const std::string& given) {
    std::error_code error;
    return std::filesystem::is_directory(pathFromUtf8(given), error);
}

// The files of both sides by relative path, in sorted order. Two single
// files are one pair whatever their names: that is what comparing them means.
std::vector<FilePair> pairFiles(const DiffOptions& options, const std::vector<InputFile>& before,
                                const std::vector<InputFile>& after) {
    std::vector<FilePair> pairs;
    if (!isFolder(options.oldPath) && !isFolder(options.newPath) && before.size() == 1 &&
        after.size() == 1) {
        pairs.push_back(FilePair{after[0].relative, &before[0], &after[0]});
        return pairs;
    }
    for (const InputFile& file : before) {
        pairs.push_back(FilePair{file.relative, &file, nullptr});
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const FilePair& a, const FilePair& b) { return a.relative < b.relative; });
    const std::size_t oldCount = pairs.size();
    for (const InputFile& file : after) {
        const auto end = pairs.begin() + static_cast<std::ptrdiff_t>(oldCount);
        const auto found = std::lower_bound(pairs.begin(), end, file.relative,
                                            [](const FilePair& pair, const std::string& relative) {
                                                return pair.relative < relative;
                                            });
        if (found != end && found->relative == file.relative && found->after == nullptr) {
            found->after = &file;
        } else {
            pairs.push_back(FilePair{file.relative, nullptr, &file});
        }
    }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const FilePair& a, const FilePair& b) { return a.relative < b.relative; });
    return pairs;
}

} // namespace

int runDiff(const DiffOptions& options) {
    if (!(options.toleranceMm >= 0.0) || !(options.toleranceDeg >= 0.0)) {
        printError("--tolerance: millimetres and degrees must be 0 or more");
        return exitTrouble;
    }
    // Two single files are one program at two times: a backup named
    // NAME.bak takes the vendor of the other file's extension.
    std::optional<Vendor> vendor;
    std::error_code folderError;
    if (!fs::is_directory(pathFromUtf8(options.oldPath), folderError) &&
        !fs::is_directory(pathFromUtf8(options.newPath), folderError)) {
        vendor = vendorOfPath(options.newPath);
        vendor = vendor ? vendor : vendorOfPath(options.oldPath);
    }
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
    for (const FilePair& pair : pairFiles(options, before.files, after.files)) {
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
