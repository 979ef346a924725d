#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/fit_pairs.h"
#include "cli/output/calibration_output.h"
#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdio>

namespace {

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

std::string jsonText(const std::vector<FitPair>& pairs, const RigidFit& fit,
                     const std::vector<const Notation*>& notations, const FitOptions& options) {
    JsonText json;
    jsonOpen(json, '{');
    jsonKey(json, "command");
    jsonString(json, "fit");
    jsonFrame(json, notations, fit.frame);
    jsonKey(json, "rms_mm");
    jsonNumber(json, fit.rms);
    jsonKey(json, "mean_mm");
    jsonNumber(json, fit.mean);
    jsonKey(json, "max_mm");
    jsonNumber(json, fit.max);
    jsonKey(json, "worst");
    jsonString(json, pairs[fit.worst].name);
    jsonKey(json, "mirrored");
    jsonBool(json, fit.mirrored);
    jsonKey(json, "max_error_mm");
    if (options.maxErrorMm) {
        jsonNumber(json, *options.maxErrorMm);
    } else {
        json.text += "null";
    }
    jsonKey(json, "over_max_error");
    jsonOpen(json, '[');
    for (std::size_t k = 0; options.maxErrorMm && k < pairs.size(); ++k) {
        if (fit.residuals[k] > *options.maxErrorMm) {
            jsonItem(json);
            jsonString(json, pairs[k].name);
        }
    }
    jsonClose(json, ']');
    jsonKey(json, "pairs");
    jsonOpen(json, '[');
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        jsonItem(json);
        jsonOpen(json, '{');
        jsonKey(json, "name");
        jsonString(json, pairs[k].name);
        jsonKey(json, "residual_mm");
        jsonNumber(json, fit.residuals[k]);
        jsonKey(json, "nominal_source");
        jsonString(json, pairs[k].nominalSource);
        jsonKey(json, "nominal");
        jsonPoint(json, pairs[k].nominal);
        jsonKey(json, "measured_source");
        jsonString(json, pairs[k].measuredSource);
        jsonKey(json, "measured");
        jsonPoint(json, pairs[k].measured);
        jsonClose(json, '}');
    }
    jsonClose(json, ']');
    jsonClose(json, '}');
    return json.text + "\n";
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

} // namespace

int runFit(const FitOptions& options) {
    if (options.maxErrorMm && !(*options.maxErrorMm >= 0.0)) {
        std::fprintf(stderr, "posebridge-cli: --max-error: millimetres must be 0 or more\n");
        return exitTrouble;
    }
    std::vector<FitPair> pairs;
    std::string message;
    if (!matchFitPairs(options.nominalPath, options.measuredPath, options.select, options.exclude,
                       pairs, message)) {
        std::fprintf(stderr, "posebridge-cli: %s\n", message.c_str());
        return exitTrouble;
    }
    const RigidFit fit = fitPairs(pairs);
    if (!fit.ok) {
        std::fprintf(stderr, "posebridge-cli: fit: refused: %s\n", fit.refusal.c_str());
        return exitTrouble;
    }
    const std::vector<const Notation*> notations =
        frameNotations(options.notations, vendorOfPairs(pairs));
    const std::string out = options.format == OutputFormat::json
                                ? jsonText(pairs, fit, notations, options)
                                : frameText(notations, fit.frame);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    if (options.format != OutputFormat::json) {
        std::fputs(figuresText(pairs, fit).c_str(), stderr);
    }
    if (fit.mirrored) {
        std::fprintf(stderr, "posebridge-cli: warning: %s\n", mirrorWarning);
    }
    const std::vector<std::string> over = overBound(pairs, fit, options);
    for (const std::string& name : over) {
        std::fprintf(stderr, "posebridge-cli: %s: residual above --max-error %s mm\n", name.c_str(),
                     shortestDouble(*options.maxErrorMm).c_str());
    }
    return over.empty() ? exitDone : exitBoundNotMet;
}
