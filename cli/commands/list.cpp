#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/inputs/ordered_jobs.h"
#include "cli/output/list_output.h"
#include "cli/output/terminal.h"
#include "cli/output/warning_list.h"
#include "robotfiles/file_scan.h"

#include <fmt/format.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

// Output is handed on in pieces of about this size.
constexpr std::size_t flushBytes = std::size_t{1} << 16;

struct Totals {
    std::atomic<std::uint64_t> byStatus[4] = {};
    std::atomic<std::uint64_t> warnings{0};
    std::atomic<std::uint64_t> filesRead{0};
    std::atomic<bool> trouble{false};
};

void listFile(const InputFile& file, const OutputSettings& settings, JobOutput& output,
              Totals& totals) {
    std::FILE* stream = file.standardInput ? stdin : openForReading(file.path);
    if (stream == nullptr) {
        output.messages +=
            fmt::format("posebridge-cli: {}: cannot read: {}\n", file.shown, std::strerror(errno));
        totals.trouble = true;
        return;
    }
    std::string text;
    WarningList warnings;
    warnings.file = file.shown;
    ScanCallbacks callbacks;
    callbacks.pose = [&](const PoseRecord& pose) {
        ++totals.byStatus[static_cast<int>(pose.status)];
        appendRecord(text, settings, file.shown, pose);
        if (text.size() >= flushBytes) {
            output.write(text);
        }
    };
    callbacks.warning = [&](const ScanWarning& warning) {
        ++totals.warnings;
        addWarning(warnings, warning);
    };
    const LineReadResult result = scanStream(stream, file.vendor, callbacks);
    if (!file.standardInput) {
        std::fclose(stream);
    }
    output.write(text);
    output.messages += warningText(warnings);
    if (!result.ok) {
        output.messages +=
            fmt::format("posebridge-cli: {}: reading stopped: {}\n", file.shown, result.error);
        totals.trouble = true;
        return;
    }
    ++totals.filesRead;
}

} // namespace

int runList(const ListOptions& options) {
    const auto started = std::chrono::steady_clock::now();
    OutputSettings settings;
    settings.format = options.format;
    std::vector<std::string> names = options.notations;
    if (names.empty() && options.format == OutputFormat::csv) {
        names = {"kuka", "abb", "fanuc"};
    }
    for (const std::string& name : names) {
        if (const Notation* notation = findNotation(name)) {
            settings.notations.push_back(notation);
        }
    }
    const FileListResult list = listInputFiles(options.paths, options.vendor);
    for (const std::string& error : list.errors) {
        std::fprintf(stderr, "posebridge-cli: %s\n", error.c_str());
    }
    // An empty listing looks the same as a folder of programs without poses.
    for (const std::string& folder : list.emptyFolders) {
        std::fprintf(stderr,
                     "posebridge-cli: %s: no program file found under this folder (.dat .src "
                     ".sub, .mod .modx .sys .prg, .ls)\n",
                     folder.c_str());
    }

    for (const InputFile& file : list.files) {
        // Room for ":" and a line number of six digits, within reason.
        settings.fileColumn =
            std::clamp<std::size_t>(file.shown.size() + 7, settings.fileColumn, 72);
    }
    std::string header;
    appendHeader(header, settings);
    std::fwrite(header.data(), 1, header.size(), stdout);

    Totals totals;
    unsigned jobs = options.jobs;
    if (jobs == 0) {
        jobs = std::max(1u, std::thread::hardware_concurrency());
    }
    runOrderedJobs(list.files.size(), jobs, [&](std::size_t index, JobOutput& output) {
        listFile(list.files[index], settings, output, totals);
    });
    std::fflush(stdout);

    if (options.summary || isTerminal(stderr)) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::uint64_t poses = 0;
        for (const auto& count : totals.byStatus) {
            poses += count;
        }
        std::fprintf(stderr, "%s\n",
                     fmt::format("{} poses ({} ok, {} partial, {} not_unit, {} uninitialised) "
                                 "in {} files, {} warnings, {:.2f} s",
                                 poses, totals.byStatus[0].load(), totals.byStatus[1].load(),
                                 totals.byStatus[2].load(), totals.byStatus[3].load(),
                                 totals.filesRead.load(), totals.warnings.load(), seconds)
                         .c_str());
    }
    const bool warned = totals.warnings > 0 || !list.emptyFolders.empty();
    if (!list.errors.empty() || totals.trouble || (options.strict && warned)) {
        return exitTrouble;
    }
    return exitDone;
}
