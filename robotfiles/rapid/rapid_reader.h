#pragma once

#include "robotfiles/pose_record.h"
#include "robotfiles/rapid/rapid_statement.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A statement longer than this is passed over with a warning: no robot
// program writes one, and the bound keeps memory independent of the file.
constexpr std::size_t maxRapidStatementBytes = std::size_t{1} << 20;

// Finds every pose of an ABB RAPID file, fed one line at a time from the
// first line to the last.
struct RapidReader {
    // The statement in progress, once it spans lines: its bytes so far, and
    // where each of its lines after the first starts among them. A statement
    // that ends on the line it starts on is read in place.
    std::string statement;
    std::vector<std::uint32_t> lineStarts;
    bool open = false;
    // The statement outgrew the bound: its bytes are passed over up to its ';'.
    bool skipping = false;
    std::uint64_t statementOffset = 0;
    std::uint64_t firstLineOffset = 0;
    std::uint64_t firstLineNumber = 0;
    std::uint64_t endOffset = 0; // just past the last line fed
    RapidWorkspace work;
    // A .mod, .modx, .sys or .prg that holds no MODULE is no RAPID program.
    bool moduleFile = false;
};

void startRapid(RapidReader& reader, std::string_view fileName);
void readRapidLine(RapidReader& reader, const SourceLine& line, const ScanCallbacks& out);
// Called once after the last line: reports what is still open (an unfinished
// declaration) as a warning, and a file that holds no module.
void finishRapid(RapidReader& reader, const ScanCallbacks& out);
// The first byte offset that a pose still to be reported may start at or
// touch: every byte before it is done with, so a rewriter may pass it on.
std::uint64_t rapidPendingOffset(const RapidReader& reader);
