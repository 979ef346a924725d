#pragma once

#include "robotfiles/krl/krl_reader.h"
#include "robotfiles/krl/krl_settings.h"
#include "robotfiles/krl/krl_usage.h"
#include "robotfiles/program_input.h"
#include "robotfiles/program_model.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reads a KRL program, its .dat then its .src, into the program model, one
// statement at a time (see program_input.h for the two passes).
//
// Each line is one statement: KRL statements end with their line. The pose
// reader (krl_reader) reads every line beside, so that each point is read
// and given its role exactly as `list` reads it. A line's statement is
//   blank, a comment, the file's frame (&ACCESS, DEFDAT, ENDDAT), a routine's
//   start or end (DEF, END), a point's declaration (E6POS, POS, FRAME in the
//   .dat, which motions go to), an inline form's data set (FDAT, PDAT, LDAT)
//   or a setting the motions after it carry ($VEL.CP, $VEL_AXIS, $APO,
//   $BASE, $TOOL, BAS(...), PDAT_ACT ...), both structural, a motion (PTP,
//   LIN, CIRC with what is in force), WAIT SEC, an output ($OUT[n] = TRUE,
//   a signal name = FALSE, PULSE(...)), WAIT FOR an input, a call without
//   arguments, or kept: everything else, and every line of an IF, a loop,
//   a SWITCH, a spline block, a routine with parameters or a function, and
//   between a GOTO and its label.
// An inline form, a fold whose header names a motion or a logic command
// (";FOLD LIN P1 Vel=2 m/s CPDAT1 Tool[1] Base[2];%{PE}" up to its
// ";ENDFOLD"), is one statement of all its lines: the one motion or command
// inside it, the rest being the settings and markers that belong to it.
// Other folds (INI, user folds) leave their lines to themselves, their
// markers as comments. A comment after a statement on its line follows it
// as a comment statement of the same line.
struct KrlProgramReader {
    PointTable* points = nullptr;
    std::string mainKey; // the main routine's name, by krlNameKey
    // First pass: how the .src uses the names the .dat declares, and the
    // labels and jumps of each file.
    KrlUsage usage;
    std::vector<JumpNotes> jumps; // by file

    // Second pass, the file being read.
    std::uint32_t file = 0;
    bool dataFile = false;
    KrlReader poses;
    std::vector<PoseRecord> found; // the poses of the current line
    bool lineTrouble = false;      // the current line holds what could not be read
    LineRegions regions;
    KrlSettings settings;
    KrlInlineData data;
    // A kept block (IF ... ENDIF and the like), nesting counted, or a kept
    // routine (with parameters, or a function) up to its END.
    int keptDepth = 0;
    bool keptRoutine = false;
    WarningCode keptCode = WarningCode::logicKept;
    // An inline form being gathered, up to its ;ENDFOLD.
    bool gathering = false;
    int foldDepth = 0;
    bool technologyFold = false;
    std::vector<Statement> fold;
    std::size_t foldSize = 0; // statements of fold in use
    Statement work;
    Statement comment;
};

void startKrlProgramReader(KrlProgramReader& reader, PointTable& points,
                           std::string_view mainRoutine, std::size_t fileCount);

// First pass over a file of the program (only code files are worth it).
void noteKrlProgramLine(KrlProgramReader& reader, std::uint32_t file, std::string_view fileName,
                        const SourceLine& line);

// Second pass: each file in turn, the .dat before the .src.
void startKrlProgramFile(KrlProgramReader& reader, std::uint32_t file, std::string_view fileName);
void readKrlProgramLine(KrlProgramReader& reader, const SourceLine& line, const ProgramInput& out);
void finishKrlProgramFile(KrlProgramReader& reader, const ProgramInput& out);
