#pragma once

#include "robotfiles/pose_record.h"
#include "robotfiles/rapid/rapid_values.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

// One RAPID statement: the bytes from its first one up to its ';', which
// may span lines and hold comments and strings.
struct RapidStatement {
    std::string_view text;
    std::uint64_t offset = 0;          // of text[0] in the file
    std::uint64_t firstLineOffset = 0; // of the start of the line text[0] stands in
    std::uint64_t firstLineNumber = 0;
    // Where each later line starts, as an index into text, in order.
    std::span<const std::uint32_t> lineStarts;
};

struct RapidPlace {
    std::uint64_t line = 0;
    std::uint64_t column = 0;
    std::uint64_t offset = 0;
};

RapidPlace rapidPlaceOf(const RapidStatement& statement, std::size_t index);

// What reading reuses from one statement to the next, so that the common
// case allocates nothing, and what the statements so far have said.
struct RapidWorkspace {
    PoseRecord record;
    RapidValue value;
    // Between PROC, FUNC or TRAP and its end: code, where a declaration's
    // value is a routine's own variable rather than the module's data.
    bool inRoutine = false;
    bool sawModule = false;
};

// Reports the poses of one statement: the declarations of robtarget,
// jointtarget, tooldata, wobjdata and pose, and every robtarget written
// inline (a jointtarget inline in MoveAbsJ), each with the role its use
// gives it. A declaration of those types whose value cannot be read gives a
// warning and ends reading of the statement. A statement not ended (the
// text still open at the end of the file) reports no pose, and a warning for
// a declaration.
void readRapidStatement(const RapidStatement& statement, bool ended, RapidWorkspace& work,
                        const ScanCallbacks& out);

// The instructions whose point arguments are positions: every move, and the
// moves of the process options (triggers, arc and spot welding, search,
// continuous application, painting).
bool isMotionInstruction(std::string_view word);

// The top-level arguments of an instruction whose name ends at `from`, each
// trimmed: [begin, end) pairs into the text; optional ones (\WObj:=...)
// among them, each starting with its '\'.
std::vector<std::pair<std::size_t, std::size_t>> argumentsOf(std::string_view text,
                                                             std::size_t from);
