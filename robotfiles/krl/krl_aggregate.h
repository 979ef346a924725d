#pragma once

#include "robotfiles/krl/krl_statement.h"
#include "robotfiles/pose_record.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reads one KRL aggregate "{X 1,Y 2,...}" of a line, members taken by name,
// with the poses nested in it.

// What the statement around the aggregate says about it.
struct KrlContext {
    std::string_view name; // empty for an inline value
    // "E6POS", "POS", "FRAME", "E6AXIS" or "AXIS" when declared so
    const char* declaredType = nullptr;
    // Declared with a type that is no pose (LOAD_DATA, FDAT): the aggregate
    // itself is not listed, the full poses nested in it are.
    bool otherDeclaration = false;
};

enum class KrlTrouble { none, number, twice, memberName, separator, notClosed, tooDeep };

// What one aggregate held. The records are reused from line to line, so a
// normal pose costs no allocation beyond the first ones.
struct KrlFinds {
    std::vector<PoseRecord> records; // the first `count` are this aggregate's, in file order
    std::vector<char> listed;        // whether records[i] is a pose to report
    std::size_t count = 0;
    // Whether anything in the aggregate looked like a pose: only then is a
    // trouble worth a warning (a broken E6AXIS or FDAT is none of ours).
    bool poseLike = false;
    KrlTrouble trouble = KrlTrouble::none;
    std::size_t troublePos = 0;          // byte index in the line
    const char* troubleMember = nullptr; // "X", "S", "E1"
};

// Reads the aggregate whose "{" is text[open] (text is the line without its
// ending). On success `end` is the index just past its "}"; on failure the
// trouble is in finds and nothing of it may be reported as a pose.
bool readKrlAggregate(std::string_view text, std::size_t open, const KrlContext& context,
                      const SourceLine& line, KrlFinds& finds, std::size_t& end);

// The warning's text for the trouble in finds.
std::string krlTroubleMessage(const KrlFinds& finds);
