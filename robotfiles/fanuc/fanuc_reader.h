#pragma once

#include "robotfiles/fanuc/fanuc_block.h"
#include "robotfiles/fanuc/fanuc_position.h"
#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>

// Finds every pose of a FANUC .ls file, fed one line at a time from the first line
// to the last.
struct FanucReader {
    // The name of /PROG, given to every record.
    std::string program;
    // Only /POS holds positions; elsewhere a line is looked at for its "/" only.
    bool inPositions = false;
    // Passing over the rest of a position that could not be read, up to its "};".
    bool skipping = false;
    FanucBlock block;
    FanucPosition position;
    FanucTrouble trouble;
    PoseRecord record;
    // Just past the last line fed, and that line, for what is left open at the end.
    std::uint64_t fedEnd = 0;
    std::uint64_t lastLine = 0;
    std::uint64_t lastLineColumn = 1; // just past its text
};

void readFanucLine(FanucReader& reader, const SourceLine& line, const ScanCallbacks& out);
// Called once after the last line: reports what is still open (an unfinished
// declaration) as a warning.
void finishFanuc(FanucReader& reader, const ScanCallbacks& out);
// The first byte offset that a pose still to be reported may start at or
// touch: every byte before it is done with, so a rewriter may pass it on.
std::uint64_t fanucPendingOffset(const FanucReader& reader);
