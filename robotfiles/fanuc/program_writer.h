#pragma once

#include "robotfiles/program_model.h"
#include "robotfiles/program_output.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// Writes a program model as FANUC LS programs: one NAME.LS a routine (the
// routine a start runs carries the program's name), joined by CALLs:
//     /PROG  NAME
//     /ATTR                      complete, as controllers write it; LINE_COUNT
//     ...                        counts the /MN lines; PROG_SIZE and
//     /MN                        MEMORY_SIZE 0 (the controller computes them)
//        1:  UFRAME_NUM=1 ;      before a motion, when it changes
//        2:  UTOOL_NUM=1 ;
//        3:  !config-placeholder (was S 2, T 10) ;     a note a comment line
//        4:L P[1:"XP1"] 250mm/sec FINE    ;
//     /POS
//     P[1:"XP1"]{ GP1: UF : 1, UT : 1, CONFIG : 'N U T, 0, 0, 0', X = ... };
//     /END
// A point gets one P[n] in each program that moves to it (one for each
// frame and tool it is used with, since a P[] stores them), its name as the
// comment; a point written in the motion gets a P[n] of its own. A point
// keeps the number it had: a FANUC source's P[n], or the n of a point named
// P<n> (as a FANUC position without a comment is named in other
// languages), without a comment then; any other takes the lowest number
// still free, in the order first used. CONFIG is the placeholder 'N U T, 0, 0, 0'.
// Comments are at most 32 characters a line and longer texts continue on the
// next lines; a kept statement becomes "!CODE FILE:LINE" and its text. The
// /MN of a program holds at most 9999 lines: more is refused. Lines met
// before the first routine (a .dat's comments, a module's kept data) open
// the first routine's /MN; lines after a routine's end close its /MN.
struct FanucProgramWriter {
    struct Pending {
        Statement statement;
        Annotation annotation;
        std::uint64_t ticket = 0;
    };

    OutputLedger* ledger = nullptr;
    WriterSettings settings;
    std::vector<std::string> sourceFiles;
    std::string programName;
    std::vector<Pending> pending;
    std::uint64_t pendingLines = 0;
    bool opened = false; // a routine's file is open
    bool anyRoutine = false;
    // The open routine's file.
    int file = -1;
    std::string name;
    std::string comment;
    std::uint64_t numbered = 0;
    int uf = -1;
    int ut = -1;
    std::map<std::string, int> positions; // name, UF, UT -> n
    std::set<int> numbers;                // in use in the open program
    bool ended = false;
    std::uint64_t endTicket = 0;
    std::string message;
};

bool startFanucProgram(FanucProgramWriter& writer, OutputLedger& ledger, const ProgramInfo& target,
                       const ProgramInfo& source, const WriterSettings& settings);
bool writeFanucStatement(FanucProgramWriter& writer, const Statement& statement,
                         const Annotation& annotation, std::uint64_t ticket);
bool finishFanucProgram(FanucProgramWriter& writer);
