#pragma once

#include "cli/output/output_format.h"
#include "robotfiles/notations/notations.h"
#include "robotfiles/pose_record.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// The three forms in which `list` prints the poses it found. Each writer
// appends to a string, so that files read in parallel can be printed in order.
struct OutputSettings {
    OutputFormat format = OutputFormat::table;
    std::vector<const Notation*> notations; // --to, in the order given
    // The table's first column: wide enough for the longest file name and a
    // line number, so that the columns line up while files are still read.
    std::size_t fileColumn = 36;
    // The table's cells cut to fit their column, counted across the threads
    // that print, for the closing note.
    std::atomic<std::uint64_t>* cutCells = nullptr;
};

// The width of the table's name column; a longer name is cut with "…".
constexpr std::size_t tableNameColumn = 24;

// The CSV header row or the table's column titles; nothing for JSON Lines.
void appendHeader(std::string& out, const OutputSettings& settings);
void appendRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                  const PoseRecord& pose);

void appendJsonRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                      const PoseRecord& pose);
void appendCsvHeader(std::string& out, const OutputSettings& settings);
void appendCsvRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                     const PoseRecord& pose);
void appendTableHeader(std::string& out, const OutputSettings& settings);
void appendTableRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                       const PoseRecord& pose);

// The members of a pose in a notation: in the file's own notation the
// values the file holds (an ABB quaternion with the sign it was written
// with, KUKA's angles as taught), in any other computed from the matrix m.
void notationValues(const Notation& notation, const PoseRecord& pose, const Transform& m,
                    double* out);

// A member as the reader read it: the shortest decimal of its float, or of
// the double where the value was computed.
std::string memberNumber(const PoseMember& member);
