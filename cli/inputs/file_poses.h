#pragma once

#include "cli/inputs/file_list.h"
#include "cli/output/warning_list.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/krl/krl_usage.h"

#include <functional>
#include <string>
#include <vector>

// The one way every command reads a program file: open it, hand it to its
// vendor's reader with what the reader must know of the other files read,
// and collect its warnings.

// How the programs among the inputs use the names their data declares: a
// KRL .dat's point is a position, an offset or a frame by the motions of
// the .src files beside it. Read once, from every KRL program among the
// files, before any file is listed.
struct ProgramUses {
    KrlUsage krl;
};
ProgramUses readProgramUses(const std::vector<InputFile>& files);

// Reads the file to its end, handing each pose to `pose` and each warning
// to `warnings`, and, when `motion` is given, each motion of its programs in
// the order they run. False with a message naming the file when it cannot be
// opened or read to its end (what was handed over until then stands).
bool scanInputFile(const InputFile& file, const ProgramUses& uses,
                   const std::function<void(const PoseRecord&)>& pose, WarningList& warnings,
                   std::string& message,
                   const std::function<void(const MotionVisit&)>& motion = nullptr);

// Every pose of the file, its warnings printed to standard error as `list`
// prints them. False with a message naming the file.
bool readFilePoses(const InputFile& file, const ProgramUses& uses, std::vector<PoseRecord>& poses,
                   std::string& message);
