#include "cli/output/list_output.h"

#include "cli/output/table_cell.h"

#include "robotfiles/pose_matrix.h"

#include <fmt/format.h>

// Columns a person reads: where the pose stands, what it is, its role, and
// the vendor's own values as the file holds them. Widths are set before the
// first file is read, so that the table can be printed while files are
// still being read; a longer cell is cut with "…" (table_cell).

void appendTableHeader(std::string& out, const OutputSettings& settings) {
    out += fmt::format("{:<{}} {:<{}} {:<11} {:<13} {:<14} {}\n", "FILE:LINE", settings.fileColumn,
                       "NAME", tableNameColumn, "TYPE", "STATUS", "ROLE", "VALUES");
}

void appendTableRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                       const PoseRecord& pose) {
    std::string name = pose.name.empty() ? std::string("-") : pose.name;
    if (pose.vendor == Vendor::fanuc && pose.group > 0) {
        name += fmt::format(" GP{}", pose.group);
    }
    std::string values;
    // A pose's members, or a joint position's axes.
    for (const PoseMember& member : pose.axes.empty() ? pose.values : pose.axes) {
        if (!values.empty()) {
            values += "  ";
        }
        std::string key = member.key;
        for (char& c : key) {
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
        // As the file holds it: the shortest decimal of what was read.
        values += key + ' ' + memberNumber(member);
    }
    out += fmt::format("{:<{}} {:<{}} {:<11} {:<13} {:<14} {}\n",
                       fittedCell(fmt::format("{}:{}", file, pose.line), settings.fileColumn, true,
                                  settings.cutCells),
                       settings.fileColumn,
                       fittedCell(name, tableNameColumn, false, settings.cutCells), tableNameColumn,
                       pose.type, statusName(pose.status), roleName(pose.role), values);
    Transform m;
    if (!settings.notations.empty() && transformOfRecord(pose, m)) {
        for (const Notation* notation : settings.notations) {
            std::string text = notation->writeFine != nullptr ? notation->writeFine(m)
                                                              : notation->write(m, NotationText{});
            // Several lines (FANUC, the matrix) stay together, indented.
            std::string indented;
            for (std::size_t start = 0; start < text.size();) {
                std::size_t end = text.find('\n', start);
                if (end == std::string::npos) {
                    end = text.size();
                }
                indented += fmt::format("    {:<10} {}\n", start == 0 ? notation->name : "",
                                        std::string_view(text).substr(start, end - start));
                start = end + 1;
            }
            out += indented;
        }
    }
}
