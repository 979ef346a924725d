#pragma once

#include "calibration/point3.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A table of named points, as a laser tracker or a CAD export gives them:
// name,x,y,z a line, separated by commas, semicolons or blanks, with or
// without a header line; blank lines and lines starting with # are skipped.
struct TablePoint {
    std::string name;
    std::uint64_t line = 0;
    Point3 point;
};

// False with a FILE:LINE:COLUMN message for a line that is not name,x,y,z, a
// value that is not a finite number, or a name given twice.
bool readPointTable(const std::string& path, std::vector<TablePoint>& points, std::string& message);

// The same of a table already in memory; its messages name shownName as
// they name the file.
bool readPointTableText(std::string_view bytes, const std::string& shownName,
                        std::vector<TablePoint>& points, std::string& message);
