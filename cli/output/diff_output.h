#pragma once

#include "robotfiles/pose_match.h"

#include <string>

// The two forms in which `diff` prints what differs, and its counts. Each
// writer appends to a string; file is the path relative to OLD and NEW.
void appendDiffJson(std::string& out, const std::string& file, const DiffFinding& finding);
void appendDiffTableHeader(std::string& out);
void appendDiffTableRow(std::string& out, const std::string& file, const DiffFinding& finding);

// "1 moved, 2 added, ... 40 unchanged poses in 3 files compared".
std::string diffCountsText(const DiffCounts& counts);
