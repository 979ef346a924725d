#pragma once

#include "robotfiles/fanuc/fanuc_block.h"
#include "robotfiles/fanuc/fanuc_position.h"
#include "robotfiles/pose_record.h"
#include "robotfiles/program_input.h"
#include "robotfiles/program_model.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// Reads a FANUC LS program into the program model, one statement at a time
// (see program_input.h for the two passes).
//
// The first pass notes which positions /MN moves to, and how (with INC
// they are offsets), reads those positions from /POS, which follows /MN,
// and notes every LBL[n] and JMP LBL[n]. The second pass hands over:
//   /PROG as the routine's start and /POS as its end (the positions are
//   the program's data, as a .dat's; /END where there is no /POS); /ATTR,
//   /APPL's header,
//   /MN and /POS (structural); each numbered line of /MN: blank, a "!"
//   comment, UFRAME_NUM=n and UTOOL_NUM=n (settings the motions carry), J,
//   L and C to a P[n] with a speed (n%, mm/sec, cm/min) and FINE or CNTn,
//   in the user frame and with the tool the position stores, WAIT t(sec),
//   DO[n]=ON/OFF/PULSE, WAIT DI[n]=ON/OFF without a time-out, CALL NAME;
//   each position of /POS (a point); and kept, everything else: A arcs,
//   position registers, offsets, motion options, registers, every line of
//   IF ... ENDIF and FOR ... ENDFOR and between a JMP and its LBL.
// A circle's two lines ("C P[3]" and ":  P[4] 500mm/sec FINE ;") are one
// statement.
struct FanucProgramReader {
    PointTable* points = nullptr;
    // First pass.
    enum : std::uint8_t { target = 1, relative = 2 };
    std::unordered_map<std::string, std::uint8_t> uses; // by number, no leading zeros
    // The user frame and tool each position read stores, -1 where it names none.
    std::unordered_map<std::string, std::pair<int, int>> frames; // by number
    JumpNotes jumps;
    int section = 0;
    bool skipping = false;
    FanucBlock block;
    FanucPosition position;
    FanucTrouble trouble;
    PoseRecord record;

    // Second pass.
    std::uint32_t file = 0;
    std::string program;
    LineRegions regions;
    int keptDepth = 0;
    int uf = -1; // UFRAME_NUM, -1 until set
    int ut = -1;
    bool ended = false;  // the routine's end was handed over (at /POS)
    bool circle = false; // the first line of a C motion waits for its second
    std::uint64_t circleLine = 0;
    Statement statement;
    std::string circleText;
};

void startFanucProgramReader(FanucProgramReader& reader, PointTable& points);

void noteFanucProgramLine(FanucProgramReader& reader, const SourceLine& line);
void finishFanucNotes(FanucProgramReader& reader);

void startFanucProgramFile(FanucProgramReader& reader, std::uint32_t file);
void readFanucProgramLine(FanucProgramReader& reader, const SourceLine& line,
                          const ProgramInput& out);
void finishFanucProgramFile(FanucProgramReader& reader, const ProgramInput& out);
