#include "cli/output/diff_output.h"

#include "robotfiles/scan_text.h"

#include <fmt/format.h>

#include <cmath>

namespace {

// JSON has no infinity or not-a-number: such a value is written as null.
std::string jsonNumber(double value) {
    return std::isfinite(value) ? shortestDouble(value) : std::string("null");
}

std::string jsonLine(std::uint64_t line) {
    return line == 0 ? std::string("null") : fmt::format("{}", line);
}

} // namespace

void appendDiffJson(std::string& out, const std::string& file, const DiffFinding& finding) {
    out += fmt::format("{{\"status\":\"{}\",\"file\":{},\"name\":{}",
                       diffStatusName(finding.status), jsonQuoted(file),
                       finding.name.empty() ? std::string("null") : jsonQuoted(finding.name));
    // Two groups of one FANUC position share its name.
    if (finding.vendor == Vendor::fanuc) {
        out += fmt::format(",\"group\":{}", finding.group);
    }
    out += fmt::format(",\"old_line\":{},\"new_line\":{}", jsonLine(finding.oldLine),
                       jsonLine(finding.newLine));
    if (finding.status == DiffStatus::moved) {
        out += fmt::format(",\"distance_mm\":{},\"angle_deg\":{}", jsonNumber(finding.distanceMm),
                           jsonNumber(finding.angleDeg));
    }
    out += "}\n";
}

// Fixed widths, as `list` has them, so that rows can be printed file by
// file; a longer entry pushes its row to the right rather than being cut.
void appendDiffTableHeader(std::string& out) {
    out += fmt::format("{:<13} {:<36} {:<18} {:>12} {:>10}\n", "STATUS", "FILE:LINE", "NAME",
                       "DISTANCE_MM", "ANGLE_DEG");
}

void appendDiffTableRow(std::string& out, const std::string& file, const DiffFinding& finding) {
    std::string name = finding.name.empty() ? std::string("-") : finding.name;
    if (finding.vendor == Vendor::fanuc && finding.group > 0) {
        name += fmt::format(" GP{}", finding.group);
    }
    const std::uint64_t line =
        finding.status == DiffStatus::removed ? finding.oldLine : finding.newLine;
    std::string row = fmt::format("{:<13} {:<36} {:<18}", diffStatusName(finding.status),
                                  fmt::format("{}:{}", file, line), name);
    if (finding.status == DiffStatus::moved) {
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
