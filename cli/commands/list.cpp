#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/inputs/file_poses.h"
#include "cli/inputs/ordered_jobs.h"
#include "cli/output/list_output.h"
#include "cli/output/messages.h"
#include "cli/output/table_cell.h"
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

struct ListOptions {
    std::vector<std::string> paths; // files, folders, or "-" for standard input
    std::optional<Vendor> vendor;   // for standard input, or to override the extension
    OutputFormat format = OutputFormat::table;
    std::vector<std::string> notations; // --to
    bool strict = false;
    bool summary = false;
    unsigned jobs = 0;           // 0: one per core
    std::vector<PoseRole> roles; // --role: only these; all when empty
};

// Output is handed on in pieces of about this size.
constexpr std::size_t flushBytes = std::size_t{1} << 16;

struct Totals {
    std::atomic<std::uint64_t> byStatus[4] = {};
    std::atomic<std::uint64_t> warnings{0};
    std::atomic<std::uint64_t> filesRead{0};
    std::atomic<bool> trouble{false};
};

void listFile(const InputFile& file, const ProgramUses& uses, const OutputSettings& settings,
              const std::vector<PoseRole>& roles, JobOutput& output, Totals& totals) {
    std::string text;
    WarningList warnings;
    warnings.file = file.shown;
    std::string message;
    const bool read = scanInputFile(
        file, uses,
        [&](const PoseRecord& pose) {
            if (!roles.empty() && std::find(roles.begin(), roles.end(), pose.role) == roles.end()) {
                return;
            }
            ++totals.byStatus[static_cast<int>(pose.status)];
            appendRecord(text, settings, file.shown, pose);
            if (text.size() >= flushBytes) {
                output.write(text);
            }
        },
        warnings, message);
    output.write(text);
    output.messages += warningText(warnings);
    totals.warnings += warnings.shown + warnings.hidden;
    if (!read) {
        output.messages += messageLine(message);
        totals.trouble = true;
        return;
    }
    ++totals.filesRead;
}

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
        printError("{}", error);
    }
    // An empty listing looks the same as a folder of programs without poses.
    for (const std::string& folder : list.emptyFolders) {
        printError("{}: no program file found under this folder (.dat .src .sub, .mod .modx .sys "
                   ".prg, .ls)",
                   folder);
    }

    for (const InputFile& file : list.files) {
        // Room for ":" and a line number of six digits, within reason.
        settings.fileColumn =
            std::clamp<std::size_t>(displayWidth(file.shown) + 7, settings.fileColumn, 72);
    }
    std::atomic<std::uint64_t> cutCells{0};
    settings.cutCells = &cutCells;
    std::string header;
    appendHeader(header, settings);
    std::fwrite(header.data(), 1, header.size(), stdout);

    Totals totals;
    unsigned jobs = options.jobs;
    if (jobs == 0) {
        jobs = std::max(1u, std::thread::hardware_concurrency());
    }
    const ProgramUses uses = readProgramUses(list.files);
    runOrderedJobs(list.files.size(), jobs, [&](std::size_t index, JobOutput& output) {
        listFile(list.files[index], uses, settings, options.roles, output, totals);
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
    if (cutCells > 0) {
        printError(
            "{} names or paths longer than their column were cut with \u2026; --format json or "
            "csv gives them whole",
            cutCells.load());
    }
    const bool warned = totals.warnings > 0 || !list.emptyFolders.empty();
    if (!list.errors.empty() || totals.trouble || (options.strict && warned)) {
        return exitTrouble;
    }
    return exitDone;
}

// The command line fills these.
ListOptions given;
CLI::Option* formatOption = nullptr;
Vendor vendor = Vendor::kuka;
CLI::Option* vendorOption = nullptr;
std::vector<std::string> roleWords;

const char* const examples = R"(Examples:
  posebridge-cli list backup/                     every pose of a controller backup, as a table
  posebridge-cli list --format json R1/ > poses.jsonl
  posebridge-cli list --format csv --to kuka,abb module1.mod > poses.csv
  posebridge-cli list --role position backup/     only the taught positions
  cat Folge1.src | posebridge-cli list --vendor kuka -

Each pose has a role from the statement around it: position, offset, frame,
assignment, initialisation, joint or undecided (see rebase --help).

Exit status:
  0  done (warnings allowed)
  2  a usage error, a file that cannot be read, and with --strict also any
     warning
)";

void addOptions(CLI::App& command, ChoiceTable& choices) {
    formatOption = addFormatOption(command, choices, given.format,
                                   {OutputFormat::table, OutputFormat::json, OutputFormat::csv},
                                   "table (the default on a terminal), json (JSON Lines, the "
                                   "default otherwise) or csv");
    addNotationsOption(command, choices, given.notations,
                       "also give each pose in these notations (comma list)");
    vendorOption = addWordOption<Vendor>(
                       command, choices, "--vendor", vendor,
                       {{"kuka", Vendor::kuka}, {"abb", Vendor::abb}, {"fanuc", Vendor::fanuc}},
                       "read standard input (-), or every named file, as this vendor's")
                       ->type_name("VENDOR");
    std::vector<std::string> roles;
    for (int k = 0; k < poseRoleCount; ++k) {
        roles.push_back(roleName(static_cast<PoseRole>(k)));
    }
    offerChoices(choices,
                 command.add_option("--role", roleWords,
                                    "only poses of these roles (comma list): position, offset, "
                                    "frame, assignment, initialisation, joint, undecided"),
                 roles, true)
        ->delimiter(',')
        ->type_name("ROLES");
    command.add_flag("--strict", given.strict, "exit with status 2 on any warning");
    command.add_flag("--summary", given.summary,
                     "print the closing summary also when standard error is no terminal");
    command.add_option("-j,--jobs", given.jobs, "files read at once (default: one per core)")
        ->check(CLI::Range(1u, 256u));
    command
        .add_option("paths", given.paths,
                    "files, folders (walked recursively: .dat .src .sub, .mod .modx .sys .prg, "
                    ".ls) or - for standard input")
        ->required()
        ->type_name("PATH");
    command.footer(examples);
}

int run(const CommandContext&) {
    given.format = formatOrDefault(formatOption, given.format);
    if (vendorOption->count() > 0) {
        given.vendor = vendor;
    }
    for (const std::string& word : roleWords) {
        PoseRole role = PoseRole::position;
        if (roleOfName(word, role)) {
            given.roles.push_back(role);
        }
    }
    return runList(given);
}

} // namespace

const Command listCommand = {"list", "Print every pose found in the files.", addOptions, run};
