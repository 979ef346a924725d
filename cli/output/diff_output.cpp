#include "cli/output/diff_output.h"

#include "cli/output/json_writer.h"
#include "cli/output/list_output.h"
#include "cli/output/table_cell.h"

#include <fmt/format.h>

#include <cmath>

namespace {

// A line, or null where the pose is absent on that side.
nlohmann::ordered_json lineJson(std::uint64_t line) {
    return line == 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(line);
}

} // namespace

void appendDiffJson(std::string& out, const std::string& file, const DiffFinding& finding) {
    nlohmann::ordered_json json;
    json["status"] = diffStatusName(finding.status);
    json["file"] = file;
    json["name"] =
        finding.name.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(finding.name);
    // Two groups of one FANUC position share its name.
    if (finding.vendor == Vendor::fanuc) {
        json["group"] = finding.group;
    }
    json["old_line"] = lineJson(finding.oldLine);
    json["new_line"] = lineJson(finding.newLine);
    if (finding.status == DiffStatus::moved && finding.joint) {
        json["max_axis_deg"] = finding.maxAxisDeg;
    } else if (finding.status == DiffStatus::moved) {
        json["distance_mm"] = finding.distanceMm;
        json["angle_deg"] = finding.angleDeg;
    }
    out += jsonText(json);
    out += '\n';
}

// Fixed widths, as `list` has them, so that rows can be printed file by
// file; a longer entry pushes its row to the right rather than being cut.
void appendDiffTableHeader(std::string& out, std::size_t fileColumn) {
    out += fmt::format("{:<13} {:<{}} {:<{}} {:>12} {:>10} {:>12}\n", "STATUS", "FILE:LINE",
                       fileColumn, "NAME", tableNameColumn, "DISTANCE_MM", "ANGLE_DEG",
                       "MAX_AXIS_DEG");
}

void appendDiffTableRow(std::string& out, const std::string& file, const DiffFinding& finding,
                        std::size_t fileColumn, std::atomic<std::uint64_t>* cut) {
    std::string name = finding.name.empty() ? std::string("-") : finding.name;
    if (finding.vendor == Vendor::fanuc && finding.group > 0) {
        name += fmt::format(" GP{}", finding.group);
    }
    const std::uint64_t line =
        finding.status == DiffStatus::removed ? finding.oldLine : finding.newLine;
    std::string row =
        fmt::format("{:<13} {:<{}} {:<{}}", diffStatusName(finding.status),
                    fittedCell(fmt::format("{}:{}", file, line), fileColumn, true, cut), fileColumn,
                    fittedCell(name, tableNameColumn, false, cut), tableNameColumn);
    if (finding.status == DiffStatus::moved && finding.joint) {
        // Joint values: no distance nor angle of a pose, the largest axis change.
        row += fmt::format(" {:>12} {:>10} {:>12.3f}", "-", "-", finding.maxAxisDeg);
    } else if (finding.status == DiffStatus::moved) {
        row += fmt::format(" {:>12.3f} {:>10.3f}", finding.distanceMm, finding.angleDeg);
    } else {
        row.erase(row.find_last_not_of(' ') + 1);
    }
    out += row;
    out += '\n';
}

std::string diffCountsText(const DiffCounts& counts) {
    const auto count = [&](DiffStatus status) { return counts.byStatus[static_cast<int>(status)]; };
    return fmt::format("{} moved, {} added, {} removed, {} changed_extra, {} changed, {} unchanged "
                       "poses in {} files compared",
                       count(DiffStatus::moved), count(DiffStatus::added),
                       count(DiffStatus::removed), count(DiffStatus::changedExtra),
                       count(DiffStatus::changed), count(DiffStatus::unchanged), counts.files);
}
