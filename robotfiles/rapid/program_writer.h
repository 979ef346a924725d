#pragma once

#include "robotfiles/program_model.h"
#include "robotfiles/program_output.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

// Writes a program model as one RAPID module, NAME.mod:
//     MODULE NAME
//       (what stands outside routines in the source: comments, kept lines)
//       CONST robtarget p1:=[[x,y,z],[q1,q2,q3,q4],[0,0,0,0],[9E9,...]];
//       CONST speeddata speed250:=[250,500,5000,1000];
//       CONST zonedata zone12:=[FALSE,12,18,18,1.8,18,1.8];
//       PROC main()
//         ConfJ \Off;
//         ConfL \Off;
//         MoveL p1, speed250, zone12, tGripper \WObj:=wobjTable;
//       ENDPROC
//     ENDMODULE
// The module's data come first (a part of their own, streamed while the
// routines are written after them). Points are declared when the model
// declares them or, failing that, when a motion first uses them; own
// speeddata and zonedata when a motion first uses them. Every routine starts
// with the generated ConfJ \Off and ConfL \Off: the robtargets carry the
// placeholder configuration [0,0,0,0], with which ConfL \On stops the robot.
// Every motion names its tool and \WObj. Notes go into a trailing "! ..."
// comment; a kept statement becomes one "! CODE FILE:LINE: text" a line.
struct RapidProgramWriter {
    OutputLedger* ledger = nullptr;
    std::vector<std::string> sourceFiles;
    int module = -1;
    bool inRoutine = false;
    // Data declared in the module, by folded name, and where.
    std::unordered_map<std::string, TargetPlace> declared;
    std::string message;
};

bool startRapidProgram(RapidProgramWriter& writer, OutputLedger& ledger, const ProgramInfo& target,
                       const ProgramInfo& source);
bool writeRapidStatement(RapidProgramWriter& writer, const Statement& statement,
                         const Annotation& annotation, std::uint64_t ticket);
bool finishRapidProgram(RapidProgramWriter& writer);
