#pragma once

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

// The shortest decimal that reads back to the same float, never in exponent
// form (no robot language takes "1e-05" everywhere) and "0" for a negative
// zero.
std::string plainDecimal(float value);

// A comment's text made safe for one line: control characters become
// blanks. Every other byte passes as it is, so kept lines stay verbatim.
std::string oneLine(std::string_view text);
