#include "translation/translate.h"
#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/file_list.h"
#include "cli/inputs/program_files.h"
#include "cli/output/messages.h"
#include "cli/output/target_folder.h"
#include "cli/output/translate_report.h"
#include "cli/output/warning_list.h"
#include "robotfiles/line_reader.h"
#include "robotfiles/program_readers.h"
#include "robotfiles/program_writers.h"

#include <fmt/format.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct TranslateOptions {
    std::vector<std::string> sources;
    Vendor target = Vendor::kuka;
    std::vector<std::string> frames;
    std::vector<std::string> tools;
    std::vector<std::string> signals;
    std::vector<std::string> blends;
    double jointSpeed = 0.0;
    bool configController = false;
    std::string out;
    std::string report;
};

// Refusals beyond this many are counted, not printed.
constexpr std::size_t maxShownRefusals = 20;

struct Run {
    TargetFolder folder;
    TranslationReport report;
    WriterSettings settings;
    nlohmann::ordered_json refusals = nlohmann::ordered_json::array();
    std::uint64_t refusalCount = 0;
    nlohmann::ordered_json programs = nlohmann::ordered_json::array();
    std::vector<fs::path> sourcePaths;
    bool trouble = false; // a file that cannot be read or written
};

void refuse(Run& run, const std::string& file, std::uint64_t line, const char* ruleName,
            const std::string& message) {
    ++run.refusalCount;
    if (run.refusals.size() < maxShownRefusals) {
        run.refusals.push_back(
            {{"file", file}, {"line", line}, {"rule", ruleName}, {"message", message}});
        fmt::print(stderr, "{}:{}:1: error: {} [{}]\n", file, line, message, ruleName);
    }
}

const char* vendorWord(Vendor vendor) {
    return vendorName(vendor);
}

// --frame, --tool and --signal name each side in its own vendor's words, so
// an entry means something only for sources of one vendor: it is taken for
// every source vendor it reads as, and refused when it reads as none.
bool buildMaps(const TranslateOptions& given, const std::set<Vendor>& vendors,
               std::map<Vendor, TranslationOptions>& maps) {
    std::vector<BlendPair> blends;
    for (const std::string& entry : given.blends) {
        BlendPair pair;
        std::string message;
        if (!parseBlendPair(entry, pair, message)) {
            printError("--blend {}: {}", entry, message);
            return false;
        }
        blends.push_back(pair);
    }
    for (const Vendor vendor : vendors) {
        TranslationOptions& o = maps[vendor];
        o.target = given.target;
        o.jointSpeed = given.jointSpeed;
        o.configController = given.configController;
        o.blends = blends;
    }
    const struct {
        const char* option;
        const std::vector<std::string>& entries;
        int kind; // 0 frame, 1 tool, 2 signal
    } lists[] = {
        {"--frame", given.frames, 0}, {"--tool", given.tools, 1}, {"--signal", given.signals, 2}};
    for (const auto& list : lists) {
        for (const std::string& entry : list.entries) {
            std::string message;
            bool taken = false;
            for (const Vendor vendor : vendors) {
                TranslationOptions& o = maps[vendor];
                std::string why;
                if (list.kind == 2) {
                    SignalPair pair;
                    if (parseSignalPair(entry, vendor, given.target, pair, why)) {
                        o.signals.push_back(pair);
                        taken = true;
                    }
                } else {
                    ReferencePair pair;
                    const ReferenceKind kind =
                        list.kind == 0 ? ReferenceKind::frame : ReferenceKind::tool;
                    if (parseReferencePair(entry, vendor, given.target, kind, pair, why)) {
                        (list.kind == 0 ? o.frames : o.tools).push_back(pair);
                        taken = true;
                    }
                }
                if (message.empty()) {
                    message = why;
                }
            }
            if (!taken) {
                printError("{} {}: {}", list.option, entry, message);
                return false;
            }
        }
    }
    return true;
}

// The dates a FANUC /ATTR carries: now, or SOURCE_DATE_EPOCH's when it is
// set, so that a build can make the same bytes twice.
WriterSettings writerSettings() {
    std::time_t now = std::time(nullptr);
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        char* end = nullptr;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (end != epoch && *end == '\0' && seconds >= 0) {
            now = static_cast<std::time_t>(seconds);
        }
    }
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &now);
#else
    gmtime_r(&now, &parts);
#endif
    WriterSettings settings;
    settings.date =
        fmt::format("{:02}-{:02}-{:02}", parts.tm_year % 100, parts.tm_mon + 1, parts.tm_mday);
    settings.time = fmt::format("{:02}:{:02}:{:02}", parts.tm_hour, parts.tm_min, parts.tm_sec);
    return settings;
}

// What a line's statement says on standard error when it was not translated
// exactly: its warning codes.
std::string lineWarning(const Annotation& annotation) {
    std::string text = dispositionName(annotation.disposition);
    text += ":";
    for (const Note& note : annotation.notes) {
        if (note.code == WarningCode::configPlaceholder) {
            continue; // on every motion: counted in the summary
        }
        text += " ";
        text += warningWord(note.code);
        if (!note.was.empty()) {
            text += " (was " + note.was + ")";
        }
    }
    return text;
}

// Reads one file line by line; false with the trouble named when it cannot
// be read, or holds what no program holds (a NUL byte, a line beyond the
// line reader's bound).
template <typename OnLine>
bool readFile(Run& run, const InputFile& file, OnLine onLine) {
    std::FILE* stream = openForReading(file.path);
    if (stream == nullptr) {
        refuse(run, file.shown, 1, "source-unreadable",
               std::string("cannot read: ") + std::strerror(errno));
        run.trouble = true;
        return false;
    }
    bool text = true;
    std::uint64_t badLine = 0;
    const LineReadResult result = forEachLine(stream, [&](const SourceLine& line) {
        if (text &&
            (line.overlong || std::memchr(line.text.data(), '\0', line.text.size()) != nullptr)) {
            text = false;
            badLine = line.number;
        }
        onLine(line);
    });
    std::fclose(stream);
    if (!result.ok) {
        refuse(run, file.shown, 1, "source-unreadable", "cannot read: " + result.error);
        run.trouble = true;
        return false;
    }
    if (!text) {
        refuse(run, file.shown, badLine, "source-unreadable",
               "not a program: a NUL byte or a line longer than 1 MiB; nothing of it can be kept "
               "as it is");
        return false;
    }
    return true;
}

struct ProgramRun {
    explicit ProgramRun(const ProgramFiles& files) : program(files) {}

    const ProgramFiles& program;
    ProgramInfo source;
    ProgramInfo target;
    PointTable points;
    ProgramReader reader;
    TranslationState state;
    OutputLedger ledger;
    ProgramWriter writer;
    std::vector<std::size_t> opened;
    std::vector<WarningList> warnings;
    StatementOutcome outcome;
    std::uint64_t ticket = 0;
    bool landedNow = false;
    TargetPlace landedPlace;
    bool refused = false;
    bool sawProgram = false;
};

void onStatement(Run& run, ProgramRun& p, const Statement& s) {
    p.ticket += 1;
    p.landedNow = false;
    p.landedPlace = TargetPlace{};
    p.sawProgram = p.sawProgram || s.kind == StatementKind::routineStart ||
                   s.kind == StatementKind::pointDeclaration;
    translateStatement(p.state, p.points, s, p.outcome);
    const std::string& file = p.program.files[s.place.file].shown;
    if (p.outcome.refused) {
        refuse(run, file, s.place.firstLine, rule(p.outcome.rule).name, p.outcome.refusal);
        p.refused = true;
        return;
    }
    if (p.refused) {
        return; // nothing of it is written: only the refusals are looked for
    }
    if (!writeProgramStatement(p.writer, p.outcome.target, p.outcome.annotation, p.ticket)) {
        refuse(run, file, s.place.firstLine, rule(RuleId::targetLimit).name,
               writerMessage(p.writer));
        p.refused = true;
        return;
    }
    const Annotation& annotation = p.outcome.annotation;
    reportStatement(run.report, s.place, annotation.disposition, p.outcome.rule, annotation.notes,
                    p.landedNow, p.landedPlace, p.ticket);
    if (annotation.disposition == Disposition::kept ||
        annotation.disposition == Disposition::approximated) {
        addWarning(p.warnings[s.place.file],
                   ScanWarning{s.place.firstLine, 1, lineWarning(annotation)});
    }
}

void printWarnings(const ProgramRun& p) {
    for (const WarningList& list : p.warnings) {
        const std::string text = warningText(list);
        std::fwrite(text.data(), 1, text.size(), stderr);
    }
}

nlohmann::ordered_json programSummary(const Run& run, const ProgramRun& p) {
    nlohmann::ordered_json sources = nlohmann::ordered_json::array();
    for (const InputFile& file : p.program.files) {
        sources.push_back(file.shown);
    }
    nlohmann::ordered_json targets = nlohmann::ordered_json::array();
    for (const std::size_t index : p.opened) {
        targets.push_back(targetPathShown(run.folder, index));
    }
    nlohmann::ordered_json summary = {
        {"source",
         {{"vendor", vendorWord(p.source.vendor)}, {"name", p.source.name}, {"files", sources}}},
        {"target",
         {{"vendor", vendorWord(p.target.vendor)}, {"name", p.target.name}, {"files", targets}}}};
    if (!p.refused) {
        summary["lines"] = dispositionCounts(run.report.program);
        summary["generated"] = run.report.program.generated;
        summary["warnings"] = warningCounts(run.report.program);
    }
    return summary;
}

void printProgramSummary(const Run& run, const ProgramRun& p) {
    std::string sources;
    for (const InputFile& file : p.program.files) {
        sources += (sources.empty() ? "" : " + ") + file.shown;
    }
    std::string targets;
    for (const std::size_t index : p.opened) {
        targets += (targets.empty() ? "" : " + ") + targetPathShown(run.folder, index);
    }
    if (p.refused) {
        fmt::print(stderr, "translate: {} ({}): refused\n", sources, vendorWord(p.source.vendor));
        return;
    }
    const LineTotals& totals = run.report.program;
    std::uint64_t lines = 0;
    for (const std::uint64_t count : totals.byDisposition) {
        lines += count;
    }
    fmt::print(stderr, "translate: {} ({}) -> {} ({}): {} lines: {}; {} lines generated\n", sources,
               vendorWord(p.source.vendor), targets, vendorWord(p.target.vendor), lines,
               dispositionCountText(totals), totals.generated);
    const std::string warnings = warningCountText(totals);
    if (!warnings.empty()) {
        fmt::print(stderr, "  warnings: {}\n", warnings);
    }
}

void translateProgram(Run& run, const ProgramFiles& program, const TranslationOptions& maps) {
    ProgramRun p{program};
    p.source.name = program.name;
    p.source.vendor = program.vendor;
    for (const InputFile& file : program.files) {
        p.source.files.push_back(fileNameOf(file));
        WarningList list;
        list.file = file.shown;
        p.warnings.push_back(list);
    }
    // The routine a start runs: KRL the DEF named as its file, RAPID main,
    // FANUC the program /PROG names.
    p.source.mainRoutine = program.vendor == Vendor::abb    ? std::string("main")
                           : program.vendor == Vendor::kuka ? program.name
                                                            : std::string();
    startProgramReader(p.reader, p.source, p.points);
    for (std::size_t k = 0; k < program.files.size(); ++k) {
        const auto file = static_cast<std::uint32_t>(k);
        const std::string name = fileNameOf(program.files[k]);
        startProgramNotes(p.reader, file);
        if (!readFile(run, program.files[k], [&](const SourceLine& line) {
                noteProgramLine(p.reader, file, name, line);
            })) {
            run.programs.push_back(programSummary(run, p));
            return;
        }
        finishProgramNotes(p.reader, file);
    }
    bool renamed = false;
    startTranslation(p.source, maps, p.state, p.target, renamed);
    if (renamed) {
        printError("{}: the program is written as {}: its name does not fit {}'s rules",
                   program.files.back().shown, p.target.name, vendorWord(p.target.vendor));
    }
    p.ledger.sink = targetSink(run.folder, p.opened);
    p.ledger.report.landed = [&run, &p](std::uint64_t ticket, const TargetPlace& place) {
        if (ticket == p.ticket) {
            p.landedNow = true;
            p.landedPlace = place;
        } else {
            reportLate(run.report, ticket, place);
        }
    };
    p.ledger.report.generated = [&run](const TargetPlace& place, const char* what) {
        reportGenerated(run.report, place, what);
    };
    startReportProgram(run.report);
    if (!startProgramWriter(p.writer, p.ledger, p.target, p.source, run.settings)) {
        refuse(run, program.files.back().shown, 1, rule(RuleId::targetLimit).name,
               writerMessage(p.writer));
        p.refused = true;
    }
    ProgramInput input;
    input.statement = [&run, &p](const Statement& s) { onStatement(run, p, s); };
    input.warning = [&p](std::uint32_t file, const ScanWarning& warning) {
        if (file < p.warnings.size()) {
            addWarning(p.warnings[file], warning);
        }
    };
    for (std::size_t k = 0; k < program.files.size(); ++k) {
        startProgramFile(p.reader, static_cast<std::uint32_t>(k), fileNameOf(program.files[k]));
        if (!readFile(run, program.files[k],
                      [&](const SourceLine& line) { readProgramLine(p.reader, line, input); })) {
            p.refused = true;
            break;
        }
        finishProgramFile(p.reader, input);
    }
    if (!p.refused && !p.sawProgram) {
        refuse(run, program.files.back().shown, 1, "source-unreadable",
               std::string("not a program: no ") +
                   (program.vendor == Vendor::kuka  ? "DEF and no point declared"
                    : program.vendor == Vendor::abb ? "PROC and no point declared"
                                                    : "/PROG"));
        p.refused = true;
    }
    if (!p.refused && !finishProgramWriter(p.writer)) {
        refuse(run, program.files.back().shown, 1, rule(RuleId::targetLimit).name,
               writerMessage(p.writer));
        p.refused = true;
    }
    printWarnings(p);
    if (p.refused) {
        dropReportProgram(run.report);
    } else {
        std::vector<std::string> targets;
        for (const std::size_t index : p.opened) {
            targets.push_back(targetPathShown(run.folder, index));
        }
        std::vector<std::string> sources;
        for (const InputFile& file : program.files) {
            sources.push_back(file.shown);
        }
        if (!finishReportProgram(run.report, p.ledger, sources, targets)) {
            printError("--report {}: {}", "", run.report.error);
            run.trouble = true;
        }
    }
    printProgramSummary(run, p);
    run.programs.push_back(programSummary(run, p));
}

// Two programs writing one file, or a file written over a source: refused
// before anything is put in place.
bool checkTargets(Run& run) {
    for (std::size_t k = 0; k < run.folder.files.size(); ++k) {
        const std::string shown = targetPathShown(run.folder, k);
        if (hasTargetFile(run.folder, run.folder.files[k].name, k)) {
            refuse(run, shown, 1, rule(RuleId::targetLimit).name,
                   "two programs would write this file: translate them into separate folders");
            return false;
        }
        std::error_code code;
        const fs::path destination = fs::weakly_canonical(run.folder.files[k].destination, code);
        for (const fs::path& source : run.sourcePaths) {
            if (destination == fs::weakly_canonical(source, code)) {
                refuse(run, shown, 1, rule(RuleId::targetLimit).name,
                       "would write over a source file: give another --out");
                return false;
            }
        }
    }
    return true;
}

int runTranslate(const TranslateOptions& given) {
    const FileListResult list = listInputFiles(given.sources, std::nullopt);
    for (const std::string& error : list.errors) {
        printError("{}", error);
    }
    for (const std::string& folder : list.emptyFolders) {
        printError("{}: no program file found under this folder", folder);
    }
    for (const InputFile& file : list.files) {
        if (file.standardInput) {
            printError("translate reads program files, not standard input: name the files");
            return exitTrouble;
        }
    }
    if (!list.errors.empty() || !list.emptyFolders.empty()) {
        return exitTrouble;
    }
    const ProgramList programs = groupPrograms(list.files);
    for (const std::string& skipped : programs.skipped) {
        printError("{}: the controller's system data, no program: not translated", skipped);
    }
    if (programs.programs.empty()) {
        printError("no program to translate");
        return exitTrouble;
    }
    std::set<Vendor> vendors;
    for (const ProgramFiles& program : programs.programs) {
        vendors.insert(program.vendor);
    }
    std::map<Vendor, TranslationOptions> maps;
    if (!buildMaps(given, vendors, maps)) {
        return exitTrouble;
    }
    Run run;
    run.settings = writerSettings();
    for (const InputFile& file : list.files) {
        run.sourcePaths.push_back(file.path);
    }
    std::string error;
    if (!openTargetFolder(pathFromUtf8(given.out), run.folder, error)) {
        printError("--out {}: {}", given.out, error);
        return exitTrouble;
    }
    const fs::path reportPath = pathFromUtf8(given.report);
    if (!startReport(run.report, given.report.empty() ? nullptr : &reportPath, error)) {
        printError("--report {}: {}", given.report, error);
        return exitTrouble;
    }
    for (const ProgramFiles& program : programs.programs) {
        translateProgram(run, program, maps[program.vendor]);
    }
    const bool refused = run.refusalCount > 0 || run.trouble || !checkTargets(run);
    std::size_t written = 0;
    if (refused) {
        abandonTargetFolder(run.folder);
    } else if (!commitTargetFolder(run.folder, error)) {
        printError("{}", error);
        run.trouble = true;
    } else {
        written = run.folder.files.size();
    }
    const LineTotals& totals = run.report.run;
    const bool changed = totals.byDisposition[static_cast<int>(Disposition::approximated)] > 0 ||
                         totals.byDisposition[static_cast<int>(Disposition::kept)] > 0;
    const int status = refused || run.trouble ? exitTrouble : changed ? exitApproximated : exitDone;
    if (!given.report.empty()) {
        nlohmann::ordered_json summary = {{"result", status == exitTrouble ? "refused"
                                                     : status == exitDone  ? "translated"
                                                                           : "approximated"},
                                          {"exit", status},
                                          {"to", vendorWord(given.target)},
                                          {"lines", dispositionCounts(totals)},
                                          {"generated", totals.generated},
                                          {"warnings", warningCounts(totals)},
                                          {"programs", run.programs},
                                          {"refusals", run.refusals}};
        if (run.refusalCount > run.refusals.size()) {
            summary["refusals_not_shown"] = run.refusalCount - run.refusals.size();
        }
        if (!writeReport(run.report, summary, status != exitTrouble, error)) {
            printError("--report {}: {}", given.report, error);
            return exitTrouble;
        }
    } else {
        abandonReport(run.report);
    }
    if (run.refusalCount > maxShownRefusals) {
        printError("{} more refusals not shown", run.refusalCount - maxShownRefusals);
    }
    if (status == exitTrouble) {
        printError("translate refused: no program file was written");
    } else {
        fmt::print(stderr, "translate: {} programs, {} files written to {}; lines: {}\n",
                   programs.programs.size(), written, given.out, dispositionCountText(totals));
    }
    return status;
}

TranslateOptions given;
bool configController = false;

const char* const examples = R"(Examples:
  KUKA inline forms to ABB, base 3 and tool 1 taught in the new cell as wobjTable and tGripper:
    posebridge-cli translate --to abb --frame 3=wobjTable --tool 1=tGripper \
        --config controller --joint-speed 1500 --report pick.json KRC/R1/Program/pick.src --out abb/
  ABB to FANUC with signals and a table for the blending:
    posebridge-cli translate --to fanuc --frame wobjTable=3 --tool tGripper=1 \
        --signal doGrip=DO[3] --blend z10=CNT30,z50=CNT80 --config controller Weld.mod --out ls/
  the way back, with the maps turned round (then diff the source and back/):
    posebridge-cli translate --to kuka --frame wobjTable=3 --tool tGripper=1 \
        --config controller --joint-speed 1500 abb/pick.mod --out back/

What carries over exactly: Cartesian points as the same matrix (KRL and RAPID
every digit read, FANUC to three decimals); point names; frames and tools by
reference through --frame and --tool; path speeds by unit; joint speeds in
percent between KUKA and FANUC; exact stops; KUKA C_DIS and ABB zones by their
distance; comments, waits, outputs, inputs without time-out and calls (I/O
with --signal). Approximated, with a warning and the source value in a
trailing comment: joint speeds to or from ABB (--joint-speed MM_S, the TCP
speed that counts as 100 %); blending without a physical equivalent (FANUC
CNT, KUKA C_PTP, C_VEL, C_ORI) through --blend SOURCE=TARGET, else the
target's smallest: ABB z1, KUKA C_DIS with $APO.CDIS = 1, FANUC CNT1; I/O
after a blended motion. Kept as a target comment with a warning code and the
source FILE:LINE: joint targets, relative and offset motions, splines,
circular angles, FANUC A arcs, position registers, variables and logic (with
every line inside a branch or loop), time-outs, interrupts and triggers,
technology, tool and frame definitions, anything not modelled. The source's
arm configuration is never carried over: with --config controller each
target point lets the controller choose (KRL without S and T, ABB ConfJ/ConfL
\Off, FANUC 'N U T, 0, 0, 0'), to be checked on the robot.

Refused (no program file written): a frame or tool a motion uses and the maps
lack; the robot's world frame (KUKA base 0, ABB wobj0, FANUC UF 0) unless
mapped explicitly; joint moves to Cartesian points without --config
controller; joint speeds to or from ABB without --joint-speed; a source that
cannot be read; a target limit (FANUC 9999 lines). Target files go to DIR
under temporary names and replace files of the same names only when every
program is done; --report FILE (JSON) holds one entry a source line with
its disposition, rule, warnings and target line, and every generated line.

Exit status:
  0  translated: every line translated exactly (warnings such as configuration
     placeholders allowed)
  1  something was approximated or kept as a comment
  2  refused (nothing written), a usage error, or a file that cannot be read
     or written
)";

void addOptions(CLI::App& command, ChoiceTable& choices) {
    addWordOption<Vendor>(command, choices, "--to", given.target,
                          {{"kuka", Vendor::kuka}, {"abb", Vendor::abb}, {"fanuc", Vendor::fanuc}},
                          "the target controller's language")
        ->required()
        ->type_name("VENDOR");
    command
        .add_option("--frame", given.frames,
                    "a base, work object or user frame SRC=DST, each in its vendor's words "
                    "(KUKA base number, ABB work object name, FANUC UF number); repeat it")
        ->type_name("SRC=DST")
        ->delimiter(',');
    command
        .add_option("--tool", given.tools,
                    "a tool SRC=DST (KUKA tool number, ABB tool name, FANUC UT number); repeat it")
        ->type_name("SRC=DST")
        ->delimiter(',');
    command
        .add_option("--signal", given.signals,
                    "a signal SRC=DST ($OUT[n], $IN[n] or a KUKA signal name; an ABB signal; "
                    "FANUC DO[n], DI[n]); I/O of signals not given is kept as a comment")
        ->type_name("SRC=DST")
        ->delimiter(',');
    command
        .add_option("--blend", given.blends,
                    "a blending SRC=TARGET in each vendor's words (CNT100=z50, CNT50=C_DIS10, "
                    "C_PTP50=CNT50, z10=CNT30); without one that fits: the target's smallest")
        ->type_name("SRC=TARGET")
        ->delimiter(',');
    command
        .add_option("--joint-speed", given.jointSpeed,
                    "the TCP speed in mm/s that counts as 100 % joint speed, for joint moves to "
                    "or from ABB")
        ->type_name("MM_S")
        ->check(CLI::PositiveNumber);
    addWordOption<bool>(command, choices, "--config", configController, {{"controller", true}},
                        "joint moves to Cartesian points: let the target controller choose the "
                        "arm configuration from the current posture (warned on every such line)")
        ->type_name("controller");
    command.add_option("--report", given.report, "write what became of every line here (JSON)")
        ->type_name("FILE");
    command.add_option("--out", given.out, "the folder the target programs are written to")
        ->required()
        ->type_name("DIR");
    command
        .add_option("sources", given.sources,
                    "program files or folders: a KRL .src with its .dat, RAPID .mod .modx .sys "
                    ".prg, FANUC .ls")
        ->required()
        ->type_name("SOURCE");
    command.footer(examples);
}

int run(const CommandContext&) {
    given.configController = configController;
    return runTranslate(given);
}

} // namespace

const Command translateCommand = {
    "translate",
    "Rewrite whole programs for another vendor's controller, every line accounted for.", addOptions,
    run};
