// posebridge-cli: every pose of whole KUKA, ABB and FANUC programs, listed,
// compared and moved, and single poses converted. This file only turns the
// command line into option records and hands them to the commands.

#include "cli/commands/calibration_command_line.h"
#include "cli/commands/command_line.h"
#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/commands/plot_command_line.h"
#include "cli/output/terminal.h"
#include "resources/version.h"
#include "robotfiles/notations/notations.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> notationNames() {
    std::vector<std::string> names;
    for (const Notation& notation : allNotations()) {
        names.push_back(notation.name);
    }
    return names;
}

std::string notationTable() {
    std::string text = "Notations (--to, --from):\n";
    for (const Notation& notation : allNotations()) {
        text += fmt::format("  {:<11} {:<19} {:<8} {}\n", notation.name, notation.brand,
                            notation.units, notation.form);
    }
    return text;
}

const char* const examples = R"(Examples:
  posebridge-cli list backup/                     every pose of a controller backup, as a table
  posebridge-cli list --format json R1/ > poses.jsonl
  posebridge-cli list --format csv --to kuka,abb module1.mod > poses.csv
  cat Folge1.src | posebridge-cli list --vendor kuka -
  posebridge-cli convert "{X 10, Y 20, Z 30, A 0, B 90, C 0}"
  posebridge-cli convert --to fanuc "[[100,0,50],[0,0,1,0]]"
  posebridge-cli convert --from techman --to ur "100,200,300,0,90,0"

Exit status:
  0  done (warnings allowed)
  1  diff: something differs beyond the tolerance
  2  a usage error, a file that cannot be read or written, and with --strict
     also any warning
)";

const char* const diffExamples = R"(Examples:
  posebridge-cli diff backup-2026-11/ backup-2026-12/
  posebridge-cli diff --tolerance 0.5,0.1 --format json old/R1 new/R1 > moved.jsonl

Poses are matched by their file's path relative to OLD and NEW and their name
(FANUC by P[n] and group; inline values by their order in the file).
Exit status: 0 nothing differs beyond the tolerance, 1 something does, 2 trouble.
)";

const char* const rebaseExamples = R"(Examples:
  points keep their place in the world after the base was re-measured:
    posebridge-cli rebase --pre-inverse "$B_NEW" --pre "$B_OLD" --out rebased/ backup/R1
  points follow a fixture that moved by F in the base:
    posebridge-cli rebase --pre "{X 12,Y 0,Z 0,A 0,B 0,C 0}" --in-place Folge1.dat
  the flange follows its old path after the tool changed from T_OLD to T_NEW:
    posebridge-cli rebase --post-inverse "$T_OLD" --post "$T_NEW" --out rebased/ main.mod

Only the selected numbers change; every other byte of a file stays as it was.
Reach and configuration (S and T, robconf, CONFIG) must be checked on the robot.
)";

void addNotationOption(ChoiceTable& choices, CLI::App* command, std::vector<std::string>& names,
                       const char* description) {
    offerChoices(choices, command->add_option("--to", names, description), notationNames(), true)
        ->delimiter(',')
        ->type_name("NOTATIONS");
}

int run(int argc, const char* const* argv) {
    CLI::App app{"posebridge-cli " POSEBRIDGE_VERSION_TEXT
                 ": every pose of whole KUKA KRL, ABB RAPID and FANUC programs and backups "
                 "listed, compared and moved by frames, frames and tools calibrated from "
                 "taught points, and all of it drawn in 3D; single poses converted between "
                 "thirteen notations.",
                 "posebridge-cli"};
    ChoiceTable choices;
    app.set_version_flag("--version", "posebridge-cli " POSEBRIDGE_VERSION_TEXT);
    app.require_subcommand(1);
    app.footer(std::string(examples) + "\n" + notationTable());

    ListOptions list;
    std::string format;
    std::string vendor;
    CLI::App* listCommand = app.add_subcommand("list", "Print every pose found in the files.");
    offerChoices(choices,
                 listCommand->add_option("--format", format,
                                         "table (the default on a terminal), json (JSON Lines, "
                                         "the default otherwise) or csv"),
                 {"table", "json", "csv"});
    addNotationOption(choices, listCommand, list.notations,
                      "also give each pose in these notations (comma list)");
    offerChoices(
        choices,
        listCommand->add_option("--vendor", vendor,
                                "read standard input (-), or every named file, as this vendor's"),
        {"kuka", "abb", "fanuc"});
    listCommand->add_flag("--strict", list.strict, "exit with status 2 on any warning");
    listCommand->add_flag("--summary", list.summary,
                          "print the closing summary also when standard error is no terminal");
    listCommand->add_option("-j,--jobs", list.jobs, "files read at once (default: one per core)")
        ->check(CLI::Range(1u, 256u));
    listCommand
        ->add_option("paths", list.paths,
                     "files, folders (walked recursively: .dat .src .sub, .mod .modx .sys .prg, "
                     ".ls) or - for standard input")
        ->required()
        ->type_name("PATH");
    listCommand->footer(examples);

    ConvertOptions convert;
    CLI::App* convertCommand =
        app.add_subcommand("convert", "Read one pose and print it in other notations.");
    addNotationOption(choices, convertCommand, convert.notations,
                      "the notations to print (comma list; default kuka,abb,fanuc,matrix)");
    offerChoices(
        choices,
        convertCommand->add_option("--from", convert.from,
                                   "the notation of the text, where its form is ambiguous"),
        notationNames());
    convertCommand->add_option("text", convert.text, "the pose (quoted), or - for standard input")
        ->required()
        ->type_name("TEXT");
    convertCommand->footer(notationTable());

    DiffOptions diff;
    std::string diffFormat;
    std::vector<double> tolerance;
    CLI::App* diffCommand = app.add_subcommand(
        "diff", "Compare two backups (files or folders) pose by pose; exit status 1 when "
                "anything differs.");
    diffCommand
        ->add_option("--tolerance", tolerance,
                     "what counts as moved: millimetres and degrees (default 0.001,0.001)")
        ->delimiter(',')
        ->expected(2)
        ->type_name("MM,DEG");
    offerChoices(choices,
                 diffCommand->add_option("--format", diffFormat,
                                         "table (the default on a terminal) or json (JSON "
                                         "Lines, the default otherwise)"),
                 {"table", "json"});
    diffCommand->add_option("old", diff.oldPath, "the earlier backup")
        ->required()
        ->type_name("OLD");
    diffCommand->add_option("new", diff.newPath, "the later backup")->required()->type_name("NEW");
    diffCommand->footer(diffExamples);

    RebaseOptions rebase;
    std::vector<std::string> pre, preInverse, post, postInverse;
    CLI::App* rebaseCommand = app.add_subcommand(
        "rebase", "Move every selected position by frames: P becomes PRE * P * POST.");
    CLI::Option* preOption =
        rebaseCommand
            ->add_option("--pre", pre, "a frame applied before every pose (any pose convert reads)")
            ->type_name("F");
    CLI::Option* preInverseOption =
        rebaseCommand
            ->add_option("--pre-inverse", preInverse, "the inverse of a frame, applied before")
            ->type_name("F");
    CLI::Option* postOption =
        rebaseCommand->add_option("--post", post, "a frame applied after every pose")
            ->type_name("F");
    CLI::Option* postInverseOption =
        rebaseCommand
            ->add_option("--post-inverse", postInverse, "the inverse of a frame, applied after")
            ->type_name("F");
    for (CLI::Option* option : {preOption, preInverseOption, postOption, postInverseOption}) {
        option->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    rebaseCommand->add_option("--select", rebase.select, "only poses whose names match (p1*,XP?)")
        ->delimiter(',')
        ->type_name("NAMES");
    rebaseCommand->add_flag("--include-frames", rebase.includeFrames,
                            "also move frames: $config.dat, system variables, nested aggregates, "
                            "tooldata, wobjdata, pose");
    rebaseCommand->add_flag("--include-remote-tcp", rebase.includeRemoteTcp,
                            "also move FANUC remote-TCP groups");
    CLI::Option* outOption =
        rebaseCommand->add_option("--out", rebase.outDir, "write a complete rebased copy here")
            ->type_name("DIR");
    CLI::Option* inPlaceOption = rebaseCommand->add_flag("--in-place", rebase.inPlace,
                                                         "replace each file, keeping NAME.bak");
    rebaseCommand->add_flag("--no-backup", rebase.noBackup, "with --in-place: keep no NAME.bak")
        ->needs(inPlaceOption);
    outOption->excludes(inPlaceOption);
    rebaseCommand->add_option("paths", rebase.paths, "files and folders")
        ->required()
        ->type_name("PATH");
    rebaseCommand->footer(rebaseExamples);

    bool markdown = false;
    CLI::App* notationsCommand = app.add_subcommand(
        "notations", "Describe every notation, with the same pose written in each.");
    notationsCommand->add_flag("--markdown", markdown, "as the README's table");

    const CalibrationCommandLine calibration =
        addCalibrationCommands(app, notationNames(), choices);
    PlotOptions plot;
    CLI::App* plotCommand = addPlotCommand(app, plot, choices);

    std::string shell;
    CLI::App* completionCommand = app.add_subcommand(
        "completion", "Print a script that completes the commands, options and notations.");
    offerChoices(choices, completionCommand->add_option("shell", shell, "the shell: bash"),
                 {"bash"})
        ->required();
    completionCommand->footer("Example:\n"
                              "  source <(posebridge-cli completion bash)\n");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? exitDone : exitTrouble;
    }

    if (listCommand->parsed()) {
        list.format = format == "json"     ? OutputFormat::json
                      : format == "csv"    ? OutputFormat::csv
                      : format == "table"  ? OutputFormat::table
                      : isTerminal(stdout) ? OutputFormat::table
                                           : OutputFormat::json;
        if (!vendor.empty()) {
            list.vendor = vendor == "kuka"  ? Vendor::kuka
                          : vendor == "abb" ? Vendor::abb
                                            : Vendor::fanuc;
        }
        return runList(list);
    }
    if (plotCommand->parsed()) {
        return runPlot(plot);
    }
    if (notationsCommand->parsed()) {
        return runNotations(markdown);
    }
    if (completionCommand->parsed()) {
        const std::string script = bashCompletion(app, choices);
        std::fwrite(script.data(), 1, script.size(), stdout);
        return exitDone;
    }
    if (convertCommand->parsed()) {
        return runConvert(convert);
    }
    if (diffCommand->parsed()) {
        if (tolerance.size() == 2) {
            diff.toleranceMm = tolerance[0];
            diff.toleranceDeg = tolerance[1];
        }
        diff.format = diffFormat == "json"    ? OutputFormat::json
                      : diffFormat == "table" ? OutputFormat::table
                      : isTerminal(stdout)    ? OutputFormat::table
                                              : OutputFormat::json;
        return runDiff(diff);
    }
    if (const int status = runCalibrationCommand(calibration); status >= 0) {
        return status;
    }
    if (rebase.outDir.empty() && !rebase.inPlace) {
        std::fprintf(stderr, "posebridge-cli: rebase needs --out DIR or --in-place\n"
                             "Run with --help for more information.\n");
        return exitTrouble;
    }
    // The frames in the order given on the command line, whichever option named them.
    std::size_t taken[4] = {};
    const std::vector<std::string>* values[4] = {&pre, &preInverse, &post, &postInverse};
    const CLI::Option* options[4] = {preOption, preInverseOption, postOption, postInverseOption};
    for (const CLI::Option* given : rebaseCommand->parse_order()) {
        for (int k = 0; k < 4; ++k) {
            if (given == options[k] && taken[k] < values[k]->size()) {
                rebase.frames.push_back(RebaseFrame{k >= 2, k % 2 == 1, (*values[k])[taken[k]++]});
            }
        }
    }
    return runRebase(rebase);
}

} // namespace

#ifdef _WIN32
// Arguments arrive as UTF-16 and are handed on as UTF-8, so that file names
// outside the ANSI code page still open.
int wmain(int argc, wchar_t** argv) {
    useBinaryStandardStreams();
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        const std::u8string text = std::filesystem::path(argv[i]).u8string();
        arguments.emplace_back(text.begin(), text.end());
    }
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    try {
        return run(argc, pointers.data());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "posebridge-cli: %s\n", error.what());
        return exitTrouble;
    }
}
#else
int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "posebridge-cli: %s\n", error.what());
        return exitTrouble;
    }
}
#endif
