#pragma once

#include "robotfiles/pose_record.h"
#include "robotfiles/program_input.h"
#include "robotfiles/program_model.h"
#include "robotfiles/rapid/rapid_pieces.h"
#include "robotfiles/rapid/rapid_statement.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Reads a RAPID module into the program model, one statement at a time (see
// program_input.h for the two passes).
//
// The first pass notes the module's robtargets (so that a routine may move
// to a point declared after it), its own speeddata and zonedata, and its
// labels and GOTOs. The second pass hands over, piece by piece (see
// rapid_pieces.h):
//   blank lines and "!" comments; MODULE and ENDMODULE, ConfJ and ConfL
//   (structural: the target writes its own); PROC name() and ENDPROC
//   (routines; main is the entry); robtarget data (points), speeddata and
//   zonedata (their values travel with the motions); MoveJ, MoveL and MoveC
//   to a named or inline robtarget with a named speeddata and zonedata, a
//   tool and \WObj (wobj0 where none is given); WaitTime; SetDO, Set,
//   Reset and PulseDO; WaitDI without a time-out; a call without
//   arguments; and kept, everything else: every line of an IF, a loop, a
//   TEST, a routine with parameters, a FUNC or TRAP, an error handler, a
//   RECORD, and between a GOTO and its label.
struct RapidProgramReader {
    PointTable* points = nullptr;
    // First pass.
    RapidSplitter splitter;
    bool noteInRoutine = false;
    std::unordered_map<std::string, std::array<float, 4>> speeds; // by folded name
    std::unordered_map<std::string, std::array<float, 7>> zones;
    JumpNotes jumps;
    RapidWorkspace work;
    std::vector<PoseRecord> found;

    // Second pass.
    std::uint32_t file = 0;
    LineRegions regions;
    bool inRoutine = false;
    int keptDepth = 0;
    bool keptRoutine = false;
    bool handler = false; // ERROR, BACKWARD or UNDO up to ENDPROC
    WarningCode keptCode = WarningCode::logicKept;
    Statement statement;
    std::string keptText;
};

void startRapidProgramReader(RapidProgramReader& reader, PointTable& points);

void noteRapidProgramLine(RapidProgramReader& reader, const SourceLine& line);
void finishRapidNotes(RapidProgramReader& reader);

void startRapidProgramFile(RapidProgramReader& reader, std::uint32_t file);
void readRapidProgramLine(RapidProgramReader& reader, const SourceLine& line,
                          const ProgramInput& out);
void finishRapidProgramFile(RapidProgramReader& reader, const ProgramInput& out);
