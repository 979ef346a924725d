#pragma once

#include "robotfiles/fanuc/program_writer.h"
#include "robotfiles/krl/program_writer.h"
#include "robotfiles/program_model.h"
#include "robotfiles/program_output.h"
#include "robotfiles/rapid/program_writer.h"

#include <cstdint>
#include <string>

// The target vendor's program writer, chosen once: the one place that names
// all three, as the file scanner does for the readers.
struct ProgramWriter {
    Vendor vendor = Vendor::kuka;
    KrlProgramWriter krl;
    RapidProgramWriter rapid;
    FanucProgramWriter fanuc;
};

bool startProgramWriter(ProgramWriter& writer, OutputLedger& ledger, const ProgramInfo& target,
                        const ProgramInfo& source, const WriterSettings& settings);
bool writeProgramStatement(ProgramWriter& writer, const Statement& statement,
                           const Annotation& annotation, std::uint64_t ticket);
bool finishProgramWriter(ProgramWriter& writer);
// Why the last call failed.
const std::string& writerMessage(const ProgramWriter& writer);
