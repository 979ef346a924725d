#pragma once

#include "robotfiles/pose_record.h"
#include "robotfiles/program_model.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// What the three program readers share: where their statements and
// warnings go, and the regions of a file that jumps make conditional.
//
// A program reader is fed a program's files line by line twice. The first
// pass notes what a statement may need before the file comes to it: the
// positions of a FANUC /POS (after the /MN that moves to them), the data of
// a RAPID module declared after its routines, how a KRL program uses the
// names of its .dat, and where every label and jump stands (a motion
// between a label and a jump back to it runs in a loop). The second pass
// hands over the statements, one at a time, each with the source lines it
// came from; every line of every file is in at least one statement, in the
// order of the file. Only the points and the notes of the first pass are
// held, never the statements.

struct ProgramInput {
    std::function<void(const Statement&)> statement;
    // A warning on a line of the file being read (its index in the
    // program's files): what could not be read, and so was kept.
    std::function<void(std::uint32_t file, const ScanWarning&)> warning;
};

// The labels and jumps of one file, noted in the first pass. Names are
// compared as the vendor compares them: the caller folds them.
struct JumpNotes {
    std::unordered_map<std::string, std::uint64_t> labels; // name -> line
    std::vector<std::pair<std::string, std::uint64_t>> jumps;
};

void noteLabel(JumpNotes& notes, std::string_view name, std::uint64_t line);
void noteJump(JumpNotes& notes, std::string_view name, std::uint64_t line);

// The lines between each jump and its label, either way round: what runs
// there may run again (a jump back) or not at all (a jump over it), so every
// statement in them is kept. A jump to a label the file does not hold makes
// the rest of the file such a region.
struct LineRegions {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans; // sorted, merged
    std::size_t next = 0;
};

LineRegions regionsOf(const JumpNotes& notes);
// Whether the line lies in a region; lines are asked in increasing order.
bool inRegion(LineRegions& regions, std::uint64_t line);

// A statement of one line, place set, the rest cleared; the reused record
// keeps its strings' capacity.
void startStatement(Statement& statement, StatementKind kind, std::uint32_t file,
                    std::uint64_t line, std::string_view text);
// A kept statement of one line.
void keptStatement(Statement& statement, WarningCode code, std::uint32_t file, std::uint64_t line,
                   std::string_view text);

// The text with blanks trimmed at both ends.
std::string_view trimmedText(std::string_view text);

// A time in seconds written as a decimal ("0.3", ".50", "2"), read as the
// double nearest to it, so that 0.3 s stays 0.3 s (a float's 0.3 is
// 0.30000001192...). False for anything else or a negative time.
bool readSeconds(std::string_view text, double& seconds);
