#pragma once

#include "robotfiles/pose_match.h"

#include <atomic>
#include <cstdint>
#include <string>

// The two forms in which `diff` prints what differs, and its counts. Each
// writer appends to a string; file is the path relative to OLD and NEW.
void appendDiffJson(std::string& out, const std::string& file, const DiffFinding& finding);
// The table's FILE:LINE column is fileColumn wide; a longer cell is cut with
// "…" and counted in cut.
void appendDiffTableHeader(std::string& out, std::size_t fileColumn);
void appendDiffTableRow(std::string& out, const std::string& file, const DiffFinding& finding,
                        std::size_t fileColumn, std::atomic<std::uint64_t>* cut);

// "1 moved, 2 added, ... 40 unchanged poses in 3 files compared".
std::string diffCountsText(const DiffCounts& counts);
