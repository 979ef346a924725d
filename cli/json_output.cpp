#include "cli/record_output.h"

#include "robotfiles/pose_matrix.h"
#include "robotfiles/scan_text.h"

#include <charconv>
#include <cmath>

namespace {

void appendUnsigned(std::string& out, std::uint64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// JSON has no infinity or not-a-number: such a value is written as null.
void appendDouble(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendKey(std::string& out, const char* key) {
    out += ",\"";
    out += key;
    out += "\":";
}

// "x y z a b c" as {"x":1,"y":2,...}; the matrix as four rows of four.
void appendNotationValues(std::string& out, const Notation& notation, const Transform& m) {
    double values[16];
    notation.values(m, values);
    if (notation.memberCount == 16) {
        out += '[';
        for (int row = 0; row < 4; ++row) {
            out += row == 0 ? "[" : ",[";
            for (int column = 0; column < 4; ++column) {
                if (column > 0) {
                    out += ',';
                }
                appendDouble(out, values[4 * row + column]);
            }
            out += ']';
        }
        out += ']';
        return;
    }
    out += '{';
    const char* member = notation.members;
    for (int k = 0; k < notation.memberCount; ++k) {
        while (*member == ' ') {
            ++member;
        }
        const char* end = member;
        while (*end != '\0' && *end != ' ') {
            ++end;
        }
        out += k == 0 ? "\"" : ",\"";
        out.append(member, end);
        out += "\":";
        appendDouble(out, values[k]);
        member = end;
    }
    out += '}';
}

} // namespace

void appendJsonRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                      const PoseRecord& pose) {
    out += "{\"file\":";
    out += jsonQuoted(file);
    appendKey(out, "line");
    appendUnsigned(out, pose.line);
    appendKey(out, "column");
    appendUnsigned(out, pose.column);
    appendKey(out, "name");
    out += pose.name.empty() ? std::string("null") : jsonQuoted(pose.name);
    if (pose.vendor == Vendor::fanuc) {
        appendKey(out, "comment");
        out += pose.comment.empty() ? std::string("null") : jsonQuoted(pose.comment);
        appendKey(out, "group");
        appendUnsigned(out, static_cast<std::uint64_t>(pose.group));
    }
    appendKey(out, "vendor");
    out += '"';
    out += vendorName(pose.vendor);
    out += '"';
    appendKey(out, "type");
    out += jsonQuoted(pose.type);
    appendKey(out, "status");
    out += '"';
    out += statusName(pose.status);
    out += '"';
    appendKey(out, "values");
    out += '{';
    for (std::size_t k = 0; k < pose.values.size(); ++k) {
        out += k == 0 ? "" : ",";
        out += jsonQuoted(pose.values[k].key);
        out += ':';
        out += memberNumber(pose.values[k]);
    }
    out += '}';
    appendKey(out, "extra");
    out += '{';
    for (std::size_t k = 0; k < pose.extra.size(); ++k) {
        out += k == 0 ? "" : ",";
        out += jsonQuoted(pose.extra[k].key);
        out += ':';
        out += pose.extra[k].json;
    }
    out += '}';
    Transform m;
    if (!settings.notations.empty() && transformOfRecord(pose, m)) {
        for (const Notation* notation : settings.notations) {
            appendKey(out, notation->name);
            appendNotationValues(out, *notation, m);
        }
    }
    out += "}\n";
}

std::string memberNumber(const PoseMember& member) {
    if (!std::isfinite(member.value)) {
        return "null";
    }
    const float single = static_cast<float>(member.value);
    if (static_cast<double>(single) == member.value) {
        return shortestFloat(single);
    }
    return shortestDouble(member.value);
}
