#include "cli/output/list_output.h"

#include "cli/output/escape.h"
#include "cli/output/json_writer.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/scan_text.h"

#include <charconv>
#include <cmath>

namespace {

void appendKey(std::string& out, std::string_view key) {
    out += ",\"";
    out += key;
    out += "\":";
}

// A key of the record, comma and quotes included: `,"line":`.
template <std::size_t size>
void appendLiteral(std::string& out, const char (&text)[size]) {
    out.append(text, size - 1);
}

// A file's poses come one after the other: its name is quoted once.
const std::string& quotedFile(const std::string& file) {
    thread_local std::string lastFile;
    thread_local std::string lastQuoted;
    if (lastQuoted.empty() || file != lastFile) {
        lastFile = file;
        lastQuoted = jsonQuoted(file);
    }
    return lastQuoted;
}

// "x y z a b c" as {"x":1,"y":2,...}; the matrix as four rows of four.
void appendNotationValues(std::string& out, const Notation& notation, const PoseRecord& pose,
                          const Transform& m) {
    double values[16];
    notationValues(notation, pose, m, values);
    if (notation.memberCount == 16) {
        out += '[';
        for (int row = 0; row < 4; ++row) {
            out += row == 0 ? "[" : ",[";
            for (int column = 0; column < 4; ++column) {
                if (column > 0) {
                    out += ',';
                }
                appendJsonNumber(out, values[4 * row + column]);
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
        appendJsonNumber(out, values[k]);
        member = end;
    }
    out += '}';
}

} // namespace

void appendJsonRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                      const PoseRecord& pose) {
    out += "{\"file\":";
    out += quotedFile(file);
    appendLiteral(out, ",\"line\":");
    appendJsonUnsigned(out, pose.line);
    appendLiteral(out, ",\"column\":");
    appendJsonUnsigned(out, pose.column);
    appendLiteral(out, ",\"name\":");
    out += pose.name.empty() ? std::string("null") : jsonQuoted(pose.name);
    if (pose.vendor == Vendor::fanuc) {
        appendLiteral(out, ",\"comment\":");
        out += pose.comment.empty() ? std::string("null") : jsonQuoted(pose.comment);
        appendLiteral(out, ",\"group\":");
        appendJsonUnsigned(out, static_cast<std::uint64_t>(pose.group));
    }
    appendLiteral(out, ",\"vendor\":");
    out += '"';
    out += vendorName(pose.vendor);
    out += '"';
    appendLiteral(out, ",\"type\":");
    out += jsonQuoted(pose.type);
    appendLiteral(out, ",\"status\":");
    out += '"';
    out += statusName(pose.status);
    out += '"';
    appendLiteral(out, ",\"role\":");
    out += '"';
    out += roleName(pose.role);
    out += '"';
    appendLiteral(out, ",\"values\":");
    out += '{';
    for (std::size_t k = 0; k < pose.values.size(); ++k) {
        out += k == 0 ? "" : ",";
        // Keys are the readers' own lower-case ASCII words.
        out += '"';
        out += pose.values[k].key;
        out += "\":";
        out += memberNumber(pose.values[k]);
    }
    out += '}';
    if (!pose.axes.empty()) {
        appendLiteral(out, ",\"axes\":");
        out += '{';
        for (std::size_t k = 0; k < pose.axes.size(); ++k) {
            out += k == 0 ? "\"" : ",\"";
            out += pose.axes[k].key;
            out += "\":";
            out += memberNumber(pose.axes[k]);
        }
        out += '}';
    }
    appendLiteral(out, ",\"extra\":");
    out += '{';
    for (std::size_t k = 0; k < pose.extra.size(); ++k) {
        out += k == 0 ? "" : ",";
        out += '"';
        out += pose.extra[k].key;
        out += "\":";
        appendJsonExtra(out, pose.extra[k].value);
    }
    out += '}';
    Transform m;
    if (!settings.notations.empty() && transformOfRecord(pose, m)) {
        for (const Notation* notation : settings.notations) {
            appendKey(out, notation->name);
            appendNotationValues(out, *notation, pose, m);
        }
    }
    out += "}\n";
}

std::string memberNumber(const PoseMember& member) {
    return std::isfinite(member.value) ? decimalText(member.value) : std::string("null");
}
