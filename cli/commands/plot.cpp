#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/output/messages.h"
#include "cli/output/safe_file.h"
#include "cli/plot/plot_fit.h"
#include "cli/plot/plot_output.h"
#include "cli/plot/plot_scenes.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

int runPlot(const PlotOptions& options) {
    if (options.kind != PlotKind::list && options.paths.size() != 2) {
        printError("plot: {} needs two paths, {}; {} given",
                   options.kind == PlotKind::diff ? "--diff" : "--fit",
                   options.kind == PlotKind::diff ? "OLD and NEW" : "NOMINAL and MEASURED",
                   options.paths.size());
        return exitTrouble;
    }
    if (!(options.toleranceMm >= 0.0) || !(options.toleranceDeg >= 0.0)) {
        printError("plot: --tolerance: millimetres and degrees must be 0 or more");
        return exitTrouble;
    }
    const Notation* notation = options.notation.empty() ? nullptr : findNotation(options.notation);
    PlotScene scene;
    scene.kind = options.kind;
    scene.notation = options.notation;
    std::string message;
    const bool read = options.kind == PlotKind::list   ? buildListScene(options, notation, scene)
                      : options.kind == PlotKind::diff ? buildDiffScene(options, notation, scene)
                                                       : buildFitScene(options, scene, message);
    if (!message.empty()) {
        printError("plot: {}", message);
    }
    if (!read) {
        return exitTrouble;
    }
    if (scene.poses.empty()) {
        printError("plot: no poses found in {}: nothing to draw, no file written",
                   fmt::join(options.paths, ", "));
        return exitTrouble;
    }
    layOutScene(scene, options.axisLength);

    PlotSink sink;
    SafeFile file;
    const bool toStandardOutput = options.out == "-";
    if (toStandardOutput) {
        sink.stream = stdout;
    } else if (!openSafeFile(pathFromUtf8(options.out), file, message)) {
        printError("plot: {}: {}", options.out, message);
        return exitTrouble;
    } else {
        sink.stream = file.stream;
    }
    if (options.format == PlotFormat::svg) {
        writePlotSvg(sink, scene);
    } else {
        writePlotHtml(sink, scene);
    }
    if (toStandardOutput) {
        return std::fflush(stdout) == 0 && !sink.failed ? exitDone : exitTrouble;
    }
    if (sink.failed) {
        abandonSafeFile(file);
        printError("plot: {}: cannot write: {}", options.out, std::strerror(errno));
        return exitTrouble;
    }
    if (!commitSafeFile(file, message)) {
        printError("plot: {}: {}", options.out, message);
        return exitTrouble;
    }
    fmt::print(stderr, "posebridge-cli plot: {}; {} poses written to {}\n", scene.summary,
               scene.poses.size(), options.out);
    return exitDone;
}

PlotOptions given;
CLI::Option* formatOption = nullptr;
std::vector<double> tolerance;
bool diff = false;
bool fit = false;

const char* const plotExamples = R"(Examples:
  posebridge-cli plot backup/                       every pose in 3D: plot.html, opens offline
  posebridge-cli plot --to kuka --out cell.html R1/ ABB/  hover values as KUKA's X Y Z A B C
  posebridge-cli plot --format svg --out cell.svg backup/   top, front and side, for reports
  posebridge-cli plot --diff backup-2026-11/ backup-2026-12/  what moved, coloured by distance
  posebridge-cli plot --fit nominal.dat measured.dat       the fitted frame and its residuals
  posebridge-cli plot --out - Folge1.src > folge1.html

In the page: drag to orbit, right-drag or shift-drag to pan, wheel or pinch to
zoom; R or the Reset button resets the view; Top, Front and Side look along
-Z, +Y and -X. Hover or tap a pose for its file, line, name and values.
Exit status:
  0  the picture written
  2  a usage error, a file that cannot be read, or no poses (nothing is
     written then)
)";

// The format from --out's extension unless --format names one, and the
// default file name from the format.
void finishPlotOptions(PlotOptions& options) {
    if (!options.formatGiven && options.out.size() > 4) {
        std::string extension = std::filesystem::path(options.out).extension().string();
        for (char& c : extension) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        options.format = extension == ".svg" ? PlotFormat::svg : PlotFormat::html;
    }
    if (options.out.empty()) {
        options.out = options.format == PlotFormat::svg ? "plot.svg" : "plot.html";
    }
}

void addOptions(CLI::App& command, ChoiceTable& choices) {
    command
        .add_option("--out", given.out,
                    "the file to write (default plot.html or plot.svg), - for standard output")
        ->type_name("FILE");
    formatOption = addWordOption<PlotFormat>(command, choices, "--format", given.format,
                                             {{"html", PlotFormat::html}, {"svg", PlotFormat::svg}},
                                             "html (the default; .svg for --out means svg) or svg")
                       ->type_name("FORMAT");
    offerChoices(choices,
                 command.add_option("--to", given.notation,
                                    "hover values in this notation (default: the file's vendor)"),
                 notationNames())
        ->type_name("NOTATION");
    command
        .add_option("--axis-length", given.axisLength,
                    "triad length in mm (default: from the spread of the points)")
        ->check(CLI::PositiveNumber)
        ->type_name("MM");
    CLI::Option* diffOption = command.add_flag("--diff", diff, "compare OLD and NEW as diff does");
    CLI::Option* fitOption = command.add_flag("--fit", fit, "fit MEASURED points to NOMINAL ones");
    diffOption->excludes(fitOption);
    command
        .add_option("--tolerance", tolerance,
                    "with --diff, what counts as moved: mm and degrees (default 0.001,0.001)")
        ->delimiter(',')
        ->expected(2)
        ->type_name("MM,DEG")
        ->needs(diffOption);
    command.add_option("--select", given.select, "with --fit, only these point names (p1*,XP?)")
        ->delimiter(',')
        ->type_name("NAMES")
        ->allow_extra_args(false)
        ->needs(fitOption);
    command.add_option("--exclude", given.exclude, "with --fit, leave these point names out")
        ->delimiter(',')
        ->type_name("NAMES")
        ->allow_extra_args(false)
        ->needs(fitOption);
    command
        .add_option("paths", given.paths,
                    "files and folders; with --diff OLD NEW, with --fit NOMINAL MEASURED")
        ->required()
        ->type_name("PATH");
    command.footer(plotExamples);
}

int run(const CommandContext&) {
    given.kind = diff ? PlotKind::diff : fit ? PlotKind::fit : PlotKind::list;
    if (tolerance.size() == 2) {
        given.toleranceMm = tolerance[0];
        given.toleranceDeg = tolerance[1];
    }
    given.formatGiven = formatOption->count() > 0;
    finishPlotOptions(given);
    return runPlot(given);
}

} // namespace

const Command plotCommand = {
    "plot", "Draw every pose in 3D (HTML page) or in three views (SVG): a backup, a diff or a fit.",
    addOptions, run};
