#pragma once

#include "robotfiles/fanuc/fanuc_block.h"
#include "robotfiles/fanuc/fanuc_position.h"
#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// Finds every pose of a FANUC .ls file, fed one line at a time from the first line
// to the last.
struct FanucReader {
    // The name of /PROG, given to every record.
    std::string program;
    // Only /POS holds positions; /MN's motions tell how each is used;
    // elsewhere a line is looked at for its "/" only.
    bool inPositions = false;
    bool inMotions = false;
    bool sawProgram = false;
    bool programFile = false; // read from a file, which must then hold /PROG
    // How /MN's motions use each position, by its number without leading
    // zeros: as a target, or with INC as an offset from where the robot stands.
    enum : std::uint8_t { target = 1, relative = 2 };
    std::unordered_map<std::string, std::uint8_t> uses;
    std::string userFrame; // "UF n" of the last UFRAME_NUM=n, for the motions
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

void startFanuc(FanucReader& reader, std::string_view fileName);
void readFanucLine(FanucReader& reader, const SourceLine& line, const ScanCallbacks& out);
// Called once after the last line: reports what is still open (an unfinished
// declaration) as a warning.
void finishFanuc(FanucReader& reader, const ScanCallbacks& out);
// The first byte offset that a pose still to be reported may start at or
// touch: every byte before it is done with, so a rewriter may pass it on.
std::uint64_t fanucPendingOffset(const FanucReader& reader);
