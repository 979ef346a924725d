#include "cli/commands/plot_command_line.h"

#include "robotfiles/notations/notations.h"

#include <filesystem>

namespace {

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
Exit status: 0 written, 2 for a usage error, an unreadable file or no poses
(nothing is written then).
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

} // namespace

CLI::App* addPlotCommand(CLI::App& app, PlotOptions& options, ChoiceTable& choices) {
    CLI::App* command = app.add_subcommand(
        "plot", "Draw every pose in 3D (HTML page) or in three views (SVG): a backup, a diff "
                "or a fit.");
    // CLI11 writes into these while it parses; the program has one plot command.
    static std::string format;
    static std::vector<double> tolerance;
    static bool diff = false;
    static bool fit = false;
    command
        ->add_option("--out", options.out,
                     "the file to write (default plot.html or plot.svg), - for standard output")
        ->type_name("FILE");
    offerChoices(choices,
                 command->add_option("--format", format,
                                     "html (the default; .svg for --out means svg) or svg"),
                 {"html", "svg"});
    std::vector<std::string> names;
    for (const Notation& notation : allNotations()) {
        names.push_back(notation.name);
    }
    offerChoices(choices,
                 command->add_option("--to", options.notation,
                                     "hover values in this notation (default: the file's vendor)"),
                 names)
        ->type_name("NOTATION");
    command
        ->add_option("--axis-length", options.axisLength,
                     "triad length in mm (default: from the spread of the points)")
        ->check(CLI::PositiveNumber)
        ->type_name("MM");
    CLI::Option* diffOption = command->add_flag("--diff", diff, "compare OLD and NEW as diff does");
    CLI::Option* fitOption = command->add_flag("--fit", fit, "fit MEASURED points to NOMINAL ones");
    diffOption->excludes(fitOption);
    command
        ->add_option("--tolerance", tolerance,
                     "with --diff, what counts as moved: mm and degrees (default 0.001,0.001)")
        ->delimiter(',')
        ->expected(2)
        ->type_name("MM,DEG")
        ->needs(diffOption);
    command->add_option("--select", options.select, "with --fit, only these point names (p1*,XP?)")
        ->delimiter(',')
        ->type_name("NAMES")
        ->allow_extra_args(false)
        ->needs(fitOption);
    command->add_option("--exclude", options.exclude, "with --fit, leave these point names out")
        ->delimiter(',')
        ->type_name("NAMES")
        ->allow_extra_args(false)
        ->needs(fitOption);
    command
        ->add_option("paths", options.paths,
                     "files and folders; with --diff OLD NEW, with --fit NOMINAL MEASURED")
        ->required()
        ->type_name("PATH");
    command->footer(plotExamples);
    command->final_callback([&options]() {
        options.kind = diff ? PlotKind::diff : fit ? PlotKind::fit : PlotKind::list;
        if (tolerance.size() == 2) {
            options.toleranceMm = tolerance[0];
            options.toleranceDeg = tolerance[1];
        }
        options.formatGiven = !format.empty();
        options.format = format == "svg" ? PlotFormat::svg : PlotFormat::html;
        finishPlotOptions(options);
    });
    return command;
}
