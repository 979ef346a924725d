#pragma once

#include "robotfiles/fanuc/program_reader.h"
#include "robotfiles/krl/program_reader.h"
#include "robotfiles/program_input.h"
#include "robotfiles/program_model.h"
#include "robotfiles/rapid/program_reader.h"

#include <cstdint>
#include <span>
#include <string_view>

// The source vendor's program reader, chosen once: the one place that names
// all three, as program_writers does for the writers.
struct ProgramReader {
    Vendor vendor = Vendor::kuka;
    KrlProgramReader krl;
    RapidProgramReader rapid;
    FanucProgramReader fanuc;
};

// `program` names its files in the order the second pass reads them (KRL:
// the .dat before the .src) and the routine a start runs.
void startProgramReader(ProgramReader& reader, const ProgramInfo& program, PointTable& points);

// First pass, file by file.
void startProgramNotes(ProgramReader& reader, std::uint32_t file);
void noteProgramLine(ProgramReader& reader, std::uint32_t file, std::string_view fileName,
                     const SourceLine& line);
void finishProgramNotes(ProgramReader& reader, std::uint32_t file);

// Second pass, file by file.
void startProgramFile(ProgramReader& reader, std::uint32_t file, std::string_view fileName);
void readProgramLine(ProgramReader& reader, const SourceLine& line, const ProgramInput& out);
void finishProgramFile(ProgramReader& reader, const ProgramInput& out);

// Both passes over a program held in memory, one text a file in the order
// of program.files: for tests, fuzzing and single texts.
void readProgramText(const ProgramInfo& program, std::span<const std::string_view> texts,
                     PointTable& points, const ProgramInput& out);
