#pragma once

#include "robotfiles/pose_record.h"
#include "robotfiles/rapid/rapid_statement.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A RAPID file cut into the pieces a program reader takes one at a time:
// statements up to their ';' (over as many lines as they run), the lines of
// RAPID's structure that end without one (MODULE, PROC main(), IF ... THEN,
// ENDIF, a label's "name:"), comments and blank lines. Several pieces may
// share a line ("MoveL p1, v100, fine, tool0; ! approach"), and every line
// is in at least one piece.

enum class RapidPieceKind {
    blank,     // an empty line
    comment,   // "! text" up to the end of its line: text is what follows the '!'
    structure, // a structure word's line: word is it (IF, ENDPROC, PROC, a label's name)
    statement, // up to and with its ';'; word is its first word
    // A statement that never ends: too long to hold (its lines are handed
    // over one by one), or still open at the end of the file. Kept as it is.
    unfinished,
};

struct RapidPiece {
    RapidPieceKind kind = RapidPieceKind::blank;
    std::string_view text; // without line endings; lines joined by '\n'
    std::string_view word;
    bool label = false;  // structure: "name:" (word is the name)
    bool opens = false;  // structure: IF ... THEN, WHILE/FOR ... DO, TEST, RECORD
    bool closes = false; // structure: ENDIF, ENDWHILE, ENDFOR, ENDTEST, ENDRECORD
    std::uint64_t firstLine = 0;
    std::uint64_t lastLine = 0;
    RapidStatement statement; // statement: what the walker reads, without the ';'
};

// A statement longer than this is not held: its lines are handed over one
// by one as unfinished pieces (kept), so memory stays bounded.
constexpr std::size_t maxRapidPieceBytes = std::size_t{1} << 20;

struct RapidSplitter {
    // The statement in progress over several lines.
    bool open = false;
    bool head = false; // IF/WHILE/FOR/ELSEIF: may end with THEN or DO instead of ';'
    bool skipping = false;
    std::string text;
    std::vector<std::uint32_t> lineStarts;
    std::uint64_t offset = 0;
    std::uint64_t firstLine = 0;
    std::uint64_t firstLineOffset = 0;
};

using RapidPieceVisit = std::function<void(const RapidPiece&)>;

void startRapidSplitter(RapidSplitter& splitter);
void splitRapidLine(RapidSplitter& splitter, const SourceLine& line, const RapidPieceVisit& visit);
// A statement still open at the end of the file: handed over as it is.
void finishRapidSplitter(RapidSplitter& splitter, const RapidPieceVisit& visit);
