#include "cli/commands/calibration_arguments.h"
#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/fit_pairs.h"
#include "cli/output/calibration_output.h"
#include "cli/output/json_writer.h"
#include "cli/output/messages.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdio>

namespace {

struct FitOptions {
    std::string nominalPath;
    std::string measuredPath;
    std::vector<std::string> select;
    std::vector<std::string> exclude;
    std::optional<double> maxErrorMm;
    std::vector<std::string> notations;
    OutputFormat format = OutputFormat::table;
    bool strict = false; // a point on one side only refuses the fit
};

const char* const mirrorWarning =
    "the measured points look like a mirror image of the nominal ones: no rotation brings them "
    "together (points swapped, or a table in a left-handed system?)";

// The names whose residual is above the bound, "REF2 (0.213 mm)".
std::vector<std::string> overBound(const std::vector<FitPair>& pairs, const RigidFit& fit,
                                   const FitOptions& options) {
    std::vector<std::string> names;
    for (std::size_t k = 0; options.maxErrorMm && k < pairs.size(); ++k) {
        if (fit.residuals[k] > *options.maxErrorMm) {
            names.push_back(fmt::format("{} ({} mm)", pairs[k].name, mm(fit.residuals[k])));
        }
    }
    return names;
}

std::string figuresText(const std::vector<FitPair>& pairs, const RigidFit& fit) {
    std::size_t width = 4;
    for (const FitPair& pair : pairs) {
        width = std::max(width, pair.name.size());
    }
    std::string text =
        fmt::format("fit of {} pairs: rms {} mm, mean {} mm, max {} mm at {}\n", pairs.size(),
                    mm(fit.rms), mm(fit.mean), mm(fit.max), pairs[fit.worst].name);
    text += fmt::format("  {:<{}}  {:>11}  {} -> {}\n", "NAME", width, "RESIDUAL_MM", "NOMINAL",
                        "MEASURED");
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        text += fmt::format("  {:<{}}  {:>11}  {} -> {}\n", pairs[k].name, width,
                            mm(fit.residuals[k]), pairs[k].nominalSource, pairs[k].measuredSource);
    }
    return text;
}

std::string fitJson(const std::vector<FitPair>& pairs, const std::vector<UnmatchedPoint>& unmatched,
                    const RigidFit& fit, const std::vector<const Notation*>& notations,
                    const FitOptions& options) {
    nlohmann::ordered_json json;
    json["command"] = "fit";
    addFrameJson(json, notations, fit.frame);
    json["rms_mm"] = fit.rms;
    json["mean_mm"] = fit.mean;
    json["max_mm"] = fit.max;
    json["worst"] = pairs[fit.worst].name;
    json["mirrored"] = fit.mirrored;
    json["max_error_mm"] =
        options.maxErrorMm ? nlohmann::ordered_json(*options.maxErrorMm) : nullptr;
    json["over_max_error"] = nlohmann::ordered_json::array();
    for (std::size_t k = 0; options.maxErrorMm && k < pairs.size(); ++k) {
        if (fit.residuals[k] > *options.maxErrorMm) {
            json["over_max_error"].push_back(pairs[k].name);
        }
    }
    json["pairs"] = nlohmann::ordered_json::array();
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        json["pairs"].push_back({{"name", pairs[k].name},
                                 {"residual_mm", fit.residuals[k]},
                                 {"nominal_source", pairs[k].nominalSource},
                                 {"nominal", pointJson(pairs[k].nominal)},
                                 {"measured_source", pairs[k].measuredSource},
                                 {"measured", pointJson(pairs[k].measured)}});
    }
    json["unmatched"] = nlohmann::ordered_json::array();
    for (const UnmatchedPoint& point : unmatched) {
        json["unmatched"].push_back(
            {{"name", point.name}, {"only_in", point.onlyIn}, {"source", point.source}});
    }
    return jsonText(json) + "\n";
}

// The vendor of the measured side's files (the frame is theirs), else the nominal's.
std::optional<Vendor> vendorOfPairs(const std::vector<FitPair>& pairs) {
    for (const FitPair& pair : pairs) {
        if (pair.vendor) {
            return pair.vendor;
        }
    }
    return std::nullopt;
}

int runFit(const FitOptions& options) {
    if (options.maxErrorMm && !(*options.maxErrorMm >= 0.0)) {
        printError("--max-error: millimetres must be 0 or more");
        return exitTrouble;
    }
    std::vector<FitPair> pairs;
    std::vector<UnmatchedPoint> unmatched;
    std::string message;
    if (!matchFitPairs(options.nominalPath, options.measuredPath, options.select, options.exclude,
                       pairs, message, &unmatched)) {
        printError("{}", message);
        return exitTrouble;
    }
    // A point on one side only is never left out in silence.
    for (const UnmatchedPoint& point : unmatched) {
        printError("{}: only in {} ({}), {}", point.name, point.onlyIn, point.source,
                   options.strict ? "refused (--strict)" : "left out");
    }
    if (options.strict && !unmatched.empty()) {
        printError("fit: refused: {} points have no namesake on the other side (--strict)",
                   unmatched.size());
        return exitTrouble;
    }
    const RigidFit fit = fitPairs(pairs);
    if (!fit.ok) {
        printError("fit: refused: {}{}", fit.refusal, whereNamed(fit.refusal, pairs));
        return exitTrouble;
    }
    const std::vector<const Notation*> notations =
        frameNotations(options.notations, vendorOfPairs(pairs));
    const std::string out = options.format == OutputFormat::json
                                ? fitJson(pairs, unmatched, fit, notations, options)
                                : frameText(notations, fit.frame);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    if (options.format != OutputFormat::json) {
        std::fputs(figuresText(pairs, fit).c_str(), stderr);
    }
    if (fit.mirrored) {
        printError("warning: {}", mirrorWarning);
    }
    const std::vector<std::string> over = overBound(pairs, fit, options);
    for (const std::string& name : over) {
        printError("{}: residual above --max-error {} mm", name,
                   shortestDouble(*options.maxErrorMm));
    }
    return over.empty() ? exitDone : exitBoundNotMet;
}

FitOptions given;
double maxError = 0.0;
CLI::Option* maxErrorOption = nullptr;

const char* const examples = R"help(Examples:
  the fixture moved: re-teach REF1..REF4, fit, move the program by the result
    posebridge-cli fit --select "REF*" old/fixture.dat new/fixture.dat
    posebridge-cli rebase --pre "$(posebridge-cli fit --to kuka --select "REF*" \
        old/fixture.dat new/fixture.dat)" --select "XP*" --out moved/ new/fixture.dat
  KUKA's indirect base method: the known base coordinates as NOMINAL
    posebridge-cli fit --max-error 0.5 targets.csv Get3Basepoints.dat

MEASURED = F * NOMINAL in the least-squares sense over the positions (no
scale; F is always a proper rotation). NOMINAL and MEASURED are program files
or folders (poses matched by file and name as `diff` matches them) or tables
of points name,x,y,z (CSV with or without a header, or blank-separated).
At least 3 pairs, not on one line; a point taught twice at one spot is
harmless. A point on one side only is named on standard error and left out
(--strict refuses the fit instead). The frame goes to standard output; each
pair's residual, the RMS, mean and max to standard error.
Exit status:
  0  done
  1  a residual above --max-error (the points named)
  2  a usage error, points that define no frame, or with --strict a point on
     one side only
)help";

void addOptions(CLI::App& command, ChoiceTable& choices) {
    command.add_option("nominal", given.nominalPath, "the nominal points")
        ->required()
        ->type_name("NOMINAL");
    command.add_option("measured", given.measuredPath, "the measured points")
        ->required()
        ->type_name("MEASURED");
    command.add_option("--select", given.select, "only points whose names match (REF*,P?)")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->type_name("PATTERNS");
    command.add_option("--exclude", given.exclude, "leave out the pairs of these names")
        ->delimiter(',')
        ->allow_extra_args(false)
        ->type_name("NAMES");
    maxErrorOption =
        command.add_option("--max-error", maxError, "exit status 1 when a residual is above this")
            ->type_name("MM");
    command.add_flag("--strict", given.strict,
                     "refuse the fit when a point has no namesake on the other side (exit 2)");
    addFrameOutputOptions(command, choices, given.notations, given.format);
    command.footer(examples);
}

int run(const CommandContext&) {
    if (maxErrorOption->count() > 0) {
        given.maxErrorMm = maxError;
    }
    return runFit(given);
}

} // namespace

const Command fitCommand = {
    "fit", "The rigid frame F with MEASURED = F * NOMINAL from matched points, with each residual.",
    addOptions, run};
