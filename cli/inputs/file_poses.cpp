#include "cli/inputs/file_poses.h"

#include "robotfiles/line_reader.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

ProgramUses readProgramUses(const std::vector<InputFile>& files) {
    ProgramUses uses;
    for (const InputFile& file : files) {
        if (file.standardInput || file.vendor != Vendor::kuka || !isKrlCodeFile(fileNameOf(file))) {
            continue;
        }
        std::FILE* stream = openForReading(file.path);
        if (stream == nullptr) {
            continue; // the file's own reading names the trouble
        }
        forEachLine(stream, [&](const SourceLine& line) { noteKrlUsage(uses.krl, line); });
        std::fclose(stream);
    }
    return uses;
}

bool scanInputFile(const InputFile& file, const ProgramUses& uses,
                   const std::function<void(const PoseRecord&)>& pose, WarningList& warnings,
                   std::string& message) {
    std::FILE* stream = file.standardInput ? stdin : openForReading(file.path);
    if (stream == nullptr) {
        message = fmt::format("{}: cannot read: {}", file.shown, std::strerror(errno));
        return false;
    }
    const std::string name = file.standardInput ? std::string() : fileNameOf(file);
    ScanContext context;
    context.fileName = name;
    context.krlUsage = &uses.krl;
    ScanCallbacks callbacks;
    callbacks.pose = pose;
    callbacks.warning = [&](const ScanWarning& warning) { addWarning(warnings, warning); };
    const LineReadResult result = scanStream(stream, file.vendor, callbacks, context);
    if (!file.standardInput) {
        std::fclose(stream);
    }
    if (!result.ok) {
        message = fmt::format("{}: reading stopped: {}", file.shown, result.error);
        return false;
    }
    return true;
}

bool readFilePoses(const InputFile& file, const ProgramUses& uses, std::vector<PoseRecord>& poses,
                   std::string& message) {
    WarningList warnings;
    warnings.file = file.shown;
    const bool read = scanInputFile(
        file, uses, [&](const PoseRecord& pose) { poses.push_back(pose); }, warnings, message);
    // A file that three points refer to is read three times, its warnings
    // said once.
    static std::set<std::string> warned;
    if (warned.insert(file.shown).second) {
        const std::string text = warningText(warnings);
        std::fwrite(text.data(), 1, text.size(), stderr);
    }
    return read;
}
