#pragma once

#include "cli/output/safe_file.h"
#include "robotfiles/program_model.h"
#include "robotfiles/program_output.h"
#include "translation/rules.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

// What a translation did with every source line: one entry a line, merged
// from the statements that stand on it (a statement and the comment after
// it; a RAPID line of two statements), and every line a writer made up.
// Counted for the summary on standard error and, with --report, written as
// JSON:
//   {"summary": {...},
//    "lines": [{"file", "line", "disposition", "rule", "warnings": [...],
//               "target": {"file", "line"} or null}, ...],
//    "generated": [{"target": {"file", "line"}, "generated": "initialisation"}, ...]}
// The target line of a statement is known only when its program is written
// whole (a RAPID module's data grow above its routines), and a program may
// have millions of lines: each program's entries go to a temporary file as
// fixed records and are turned into JSON when it is done, so memory stays
// the same whatever the size.

constexpr int dispositionCount = 5;
constexpr int warningCount = 32; // WarningCode values, none included

struct LineTotals {
    std::uint64_t byDisposition[dispositionCount] = {};
    std::uint64_t byWarning[warningCount] = {};
    std::uint64_t generated = 0;
};

// One source line's outcome as recorded, before its target line is final.
struct LineRecord {
    std::uint32_t file = 0;
    std::uint64_t line = 0;
    Disposition disposition = Disposition::blank;
    RuleId rule = RuleId::blank;
    std::uint32_t warnings = 0; // bit k: WarningCode k
    // Where the statement landed, or, when its writer tells that later, its ticket.
    bool landed = false;
    TargetPlace target;
    std::uint64_t ticket = 0;
};

struct TranslationReport {
    bool keep = false; // --report: the entries are written, not only counted
    LineTotals run;
    LineTotals program;
    // The program in progress.
    bool hasPending = false;
    LineRecord pending;
    std::FILE* records = nullptr; // LineRecord, binary
    std::FILE* generatedRecords = nullptr;
    SafeFile recordsFile;
    SafeFile generatedFile;
    std::unordered_map<std::uint64_t, TargetPlace> late;
    std::vector<std::string> whats; // the words of generated lines met
    // The run's JSON, built program by program.
    SafeFile linesJson;
    SafeFile generatedJson;
    bool anyLine = false;
    bool anyGenerated = false;
    std::filesystem::path destination;
    std::string error;
};

// With a destination, the entries go to temporary files beside it.
bool startReport(TranslationReport& report, const std::filesystem::path* destination,
                 std::string& error);
void startReportProgram(TranslationReport& report);

// A statement's outcome, line by line; `landed` when its writer has said
// where it went (place), else it tells later through reportLate.
void reportStatement(TranslationReport& report, const SourceSpan& place, Disposition disposition,
                     RuleId rule, const std::vector<Note>& notes, bool landed,
                     const TargetPlace& target, std::uint64_t ticket);
void reportLate(TranslationReport& report, std::uint64_t ticket, const TargetPlace& place);
void reportGenerated(TranslationReport& report, const TargetPlace& place, const char* what);

// The program is written whole: its entries become JSON, its totals join
// the run's. sourceFiles and targetFiles as shown, by the program's own
// numbers (source file index, ledger file index).
bool finishReportProgram(TranslationReport& report, const OutputLedger& ledger,
                         const std::vector<std::string>& sourceFiles,
                         const std::vector<std::string>& targetFiles);
// Drops what the program recorded (it was refused).
void dropReportProgram(TranslationReport& report);

// Writes the report: the summary, then the lines and generated lines of
// every program written. With `withLines` false (a refused run) only the
// summary and empty lists.
bool writeReport(TranslationReport& report, const nlohmann::ordered_json& summary, bool withLines,
                 std::string& error);
void abandonReport(TranslationReport& report);

// {"translated": n, ...} and {"config-placeholder": n, ...} of totals.
nlohmann::ordered_json dispositionCounts(const LineTotals& totals);
nlohmann::ordered_json warningCounts(const LineTotals& totals);
// "12 translated, 3 approximated, 2 kept, 5 structural, 4 blank".
std::string dispositionCountText(const LineTotals& totals);
// "config-placeholder 12, blend-default 3".
std::string warningCountText(const LineTotals& totals);
