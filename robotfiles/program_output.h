#pragma once

#include "robotfiles/program_model.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the three program writers share: where their text goes, how its
// lines are counted for the report, and how numbers and comments are
// written. The writers never open a file: the caller decides where text goes
// (temporary files renamed at the end, or strings in a test).

// Every target file is built of parts that are joined in order when the
// program is done, so a writer can stream each part as it goes: a RAPID
// module's data before its routines, a FANUC program's /POS after its /MN,
// its /ATTR (which counts the /MN lines) written last but placed first.
struct OutputSink {
    // Starts a target file of that name made of `parts` parts; its index.
    std::function<int(std::string_view name, int parts)> open;
    std::function<void(int file, int part, std::string_view text)> append;
};

// A line of a target file: the part and the line within it, counted from 1.
// Parts before it may still grow, so the line in the finished file is known
// only at the end (finalLine). file < 0: the statement landed nowhere.
struct TargetPlace {
    int file = -1;
    int part = 0;
    std::uint64_t line = 0;
};

// What the report learns from a writer: where each statement landed (by the
// caller's ticket, which may come later than the statement: a FANUC writer
// holds lines met before its first routine), and every line the writer made
// up itself (initialisation, speed and frame settings, data declarations,
// notes), with a word saying what it is.
struct OutputReport {
    std::function<void(std::uint64_t ticket, const TargetPlace& place)> landed;
    std::function<void(const TargetPlace& place, const char* what)> generated;
};

// Controllers' own files use CR LF.
inline constexpr std::string_view targetLineEnd = "\r\n";

struct OutputLedger {
    OutputSink sink;
    OutputReport report;
    std::vector<std::string> names;                // [file]
    std::vector<std::vector<std::uint64_t>> lines; // [file][part]: lines written so far
};

int openTarget(OutputLedger& ledger, std::string_view name, int parts);
// Appends one line (its end added) and returns where it stands.
TargetPlace appendLine(OutputLedger& ledger, int file, int part, std::string_view text);
// The same for a line the writer made up, reported as generated.
TargetPlace appendGenerated(OutputLedger& ledger, int file, int part, std::string_view text,
                            const char* what);
void reportLanded(const OutputLedger& ledger, std::uint64_t ticket, const TargetPlace& place);
// The line in the finished file, once every part is complete; 0 for nowhere.
std::uint64_t finalLine(const OutputLedger& ledger, const TargetPlace& place);

// Dates a FANUC /ATTR carries; fixed by the caller so that output can be
// compared.
struct WriterSettings {
    std::string date = "00-01-01"; // YY-MM-DD
    std::string time = "00:00:00";
};

// What converting a pose between notations leaves of an exact zero (a
// quaternion member of 4e-17 where a turn of 180 degrees has none): far
// below what a float keeps of a unit quaternion or an angle in degrees, so
// arithmetic, not data. A converted member this small is written as 0.
inline constexpr double conversionNoise = 1e-9;

// The shortest decimal that reads back to the same float, never in exponent
// form (no robot language takes "1e-05" everywhere) and "0" for a negative
// zero.
std::string plainDecimal(float value);

// A comment's text made safe for one line: control characters become
// blanks. Every other byte passes as it is, so kept lines stay verbatim.
std::string oneLine(std::string_view text);

// The notes of a line as its trailing comment says them:
// "config-placeholder (was S 2, T 10), blend-default (was CNT50)".
std::string notesText(const std::vector<Note>& notes);

// What a kept line's comment starts with: "joint-target-kept PICK.src:12".
std::string keptLabel(WarningCode code, std::string_view file, std::uint64_t line);

// Why a kept statement was kept: its annotation's first note, else the reader's code.
inline WarningCode keptCodeOf(const Statement& statement, const Annotation& annotation) {
    return annotation.notes.empty() ? statement.keptCode : annotation.notes.front().code;
}

// The source file's name of a statement, for a kept comment.
std::string_view sourceFileName(const std::vector<std::string>& files, const SourceSpan& place);

// Calls visit(line number, text) for each line of a kept statement's text.
template <class Visit>
void forEachKeptLine(const Statement& statement, Visit visit) {
    std::string_view text = statement.text;
    std::uint64_t line = statement.place.firstLine;
    for (;;) {
        const std::size_t end = text.find('\n');
        visit(line, text.substr(0, end));
        if (end == std::string_view::npos) {
            return;
        }
        text.remove_prefix(end + 1);
        ++line;
    }
}

// A kept statement written as one comment a source line, each starting with
// the language's comment mark and saying why it was kept and where it was;
// put(text) writes one line and gives its place. The place of the first line.
template <class Put>
TargetPlace putKeptComments(const Statement& statement, const Annotation& annotation,
                            std::string_view file, std::string_view mark, Put put) {
    const WarningCode code = keptCodeOf(statement, annotation);
    TargetPlace place;
    bool first = true;
    forEachKeptLine(statement, [&](std::uint64_t line, std::string_view text) {
        const TargetPlace at =
            put(std::string(mark) + keptLabel(code, file, line) + ": " + oneLine(text));
        if (first) {
            place = at;
            first = false;
        }
    });
    return place;
}
