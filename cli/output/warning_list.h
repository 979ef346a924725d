#pragma once

#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>

// A file's warnings as standard error shows them, FILE:LINE:COLUMN: warning:
// what was expected. Beyond a hundred they are counted, not printed: a file
// that is not a program at all could otherwise flood the terminal.
struct WarningList {
    std::string file; // as shown
    std::string text;
    std::size_t shown = 0;
    std::uint64_t hidden = 0;
};

void addWarning(WarningList& list, const ScanWarning& warning);
// The lines to print, closed by the count of those not shown.
std::string warningText(const WarningList& list);
