#pragma once

#include "robotfiles/program_model.h"
#include "robotfiles/program_output.h"

#include <cstdint>
#include <string>
#include <unordered_map>

// Writes a program model as plain KRL: NAME.src and NAME.dat.
//
// NAME.src: "&ACCESS RVP", "&REL 1", the routine a start runs as
// "DEF NAME( )" first, then every other routine as a local DEF, each ended by
// END. The main routine begins with the generated initialisation
//     BAS(#INITMOV, 0)     motion data set to the controller's defaults,
//     PTP $AXIS_ACT        the BCO run: a joint move to where the axes are,
// so that the first translated motion never runs without velocities or
// without a reached start (a bare first LIN is refused by the controller).
// Before a motion, and only when they change within the routine, the writer
// sets $BASE = BASE_DATA[n] ($WORLD for 0), $TOOL = TOOL_DATA[n]
// ($NULLFRAME for 0), BAS(#VEL_PTP, p) for a joint motion ($VEL_AXIS of
// every axis, with KUKA's default DEF_VEL_PTP = 100) or $VEL.CP = m/s for a
// linear or circular one, and $APO.CDIS/CPTP/CVEL/CORI for its blending.
//
// NAME.dat: "DEFDAT NAME PUBLIC", every point as "DECL POS NAME={X ..,C ..}"
// without S and T (the controller keeps the current posture), declared when
// the model declares it or, failing that, when a motion first uses it; what
// stands outside routines in the source (comments, kept lines); "ENDDAT".
//
// Notes go into a trailing "; ..." comment; a kept statement becomes one
// "; CODE FILE:LINE: text" comment a source line.
struct KrlProgramWriter {
    OutputLedger* ledger = nullptr;
    std::vector<std::string> sourceFiles;
    std::string name;
    int src = -1;
    int dat = -1;
    bool inRoutine = false;
    int part = 0; // of NAME.src: 0 the main routine, 1 the others
    bool mainWritten = false;
    // What the open routine has set, as written; empty: not yet.
    std::string base, tool, velPtp, velCp, cdis, cptp, cvel, cori;
    // Points declared in NAME.dat, by folded name, and where.
    std::unordered_map<std::string, TargetPlace> declared;
    std::string message; // why writing failed
};

bool startKrlProgram(KrlProgramWriter& writer, OutputLedger& ledger, const ProgramInfo& target,
                     const ProgramInfo& source);
// False (with writer.message) for a statement the model cannot hold for a
// KUKA target: another vendor's speed or blending, a motion outside a routine.
bool writeKrlStatement(KrlProgramWriter& writer, const Statement& statement,
                       const Annotation& annotation, std::uint64_t ticket);
bool finishKrlProgram(KrlProgramWriter& writer);
