#include "cli/output/list_output.h"

#include "cli/output/json_writer.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/scan_text.h"

#include <cmath>

// RFC 4180: CRLF line ends, and a field with a comma, a quote or a line
// break in quotes, its quotes doubled.

namespace {

void appendField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(text);
        return;
    }
    out += '"';
    for (char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

// The member names of a notation, split at blanks.
template <typename Visit>
void forEachMember(const Notation& notation, Visit visit) {
    std::string_view members(notation.members);
    while (!members.empty()) {
        const std::size_t start = members.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            break;
        }
        members.remove_prefix(start);
        const std::size_t end = std::min(members.find(' '), members.size());
        visit(members.substr(0, end));
        members.remove_prefix(end);
    }
}

} // namespace

// Joint positions' axes, each a column: a1 ... a9 (FANUC groups go up to
// J9), e1 ... e6; empty for a Cartesian pose.
constexpr const char* axisColumns[] = {"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8",
                                       "a9", "e1", "e2", "e3", "e4", "e5", "e6"};

void appendCsvHeader(std::string& out, const OutputSettings& settings) {
    out += "file,line,column,name,vendor,type,status,role";
    for (const Notation* notation : settings.notations) {
        forEachMember(*notation, [&](std::string_view member) {
            out += ',';
            out += notation->name;
            out += '_';
            out.append(member);
        });
    }
    for (const char* axis : axisColumns) {
        out += ',';
        out += axis;
    }
    out += "\r\n";
}

void appendCsvRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                     const PoseRecord& pose) {
    appendField(out, file);
    out += ',' + std::to_string(pose.line) + ',' + std::to_string(pose.column) + ',';
    appendField(out, pose.name);
    out += ',';
    out += vendorName(pose.vendor);
    out += ',';
    appendField(out, pose.type);
    out += ',';
    out += statusName(pose.status);
    out += ',';
    out += roleName(pose.role);
    Transform m;
    const bool converted = transformOfRecord(pose, m);
    for (const Notation* notation : settings.notations) {
        double values[16];
        if (converted) {
            notationValues(*notation, pose, m, values);
        }
        for (int k = 0; k < notation->memberCount; ++k) {
            out += ',';
            if (converted && std::isfinite(values[k])) {
                out += decimalText(values[k]);
            }
        }
    }
    for (const char* axis : axisColumns) {
        out += ',';
        for (const PoseMember& member : pose.axes) {
            if (member.key == axis) {
                out += memberNumber(member);
            }
        }
    }
    out += "\r\n";
}
