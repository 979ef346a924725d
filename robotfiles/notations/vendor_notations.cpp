#include "robotfiles/notations/vendor_notations.h"

#include "robotfiles/decimal_text.h"
#include "robotfiles/fanuc/fanuc_writer.h"
#include "robotfiles/krl/krl_writer.h"
#include "robotfiles/rapid/rapid_writer.h"

#include "math/euler_pose.h"
#include "math/matrix_validation.h"
#include "math/number_text.h"
#include "math/quat_pose.h"
#include "notation/abb_text.h"
#include "notation/fanuc_text.h"
#include "notation/kuka_text.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/scan_text.h"

#include <cstring>
#include <optional>

// The window's three notations as the command line takes them: read by the
// whole-file readers, which take members by name and assume nothing, so a
// pose that lacks a member is refused by name instead of being completed
// with zeros; written in the window's copy formats.

namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t start = skipBlanks(text, 0);
    std::size_t end = text.size();
    while (end > start && isBlankByte(text[end - 1])) {
        --end;
    }
    return text.substr(start, end - start);
}

// The first pose the vendor's reader finds in the text, and the first
// warning it gave.
struct FirstPose {
    std::optional<PoseRecord> pose;
    std::optional<ScanWarning> warning;
};

FirstPose firstPose(std::string_view text, Vendor vendor) {
    FirstPose found;
    ScanCallbacks callbacks;
    callbacks.pose = [&](const PoseRecord& pose) {
        if (!found.pose) {
            found.pose = pose;
        }
    };
    callbacks.warning = [&](const ScanWarning& warning) {
        if (!found.warning) {
            found.warning = warning;
        }
    };
    // A statement ends with its line, as it would in a file.
    std::string line(text);
    if (line.empty() || line.back() != '\n') {
        line += '\n';
    }
    scanText(line, vendor, callbacks);
    return found;
}

// Turns what a reader found into a transformation, or into the message that
// says why not.
bool acceptPose(const FirstPose& found, const char* const* keys, int keyCount,
                const char* vendorText, const char* expected, Transform& pose,
                std::string& message) {
    if (!found.pose) {
        message = found.warning ? found.warning->message : std::string("expected ") + expected;
        return false;
    }
    const PoseRecord& record = *found.pose;
    switch (record.status) {
    case PoseStatus::ok:
        break;
    case PoseStatus::notUnit:
        message = "Unit length quaternion expected";
        return false;
    case PoseStatus::uninitialised:
        message = std::string("the ") + vendorText + " is uninitialised (********)";
        return false;
    case PoseStatus::partial: {
        std::string missing;
        for (int k = 0; k < keyCount; ++k) {
            bool present = false;
            for (const PoseMember& member : record.values) {
                present = present || member.key == keys[k];
            }
            if (!present) {
                missing += missing.empty() ? "" : ", ";
                for (const char* c = keys[k]; *c != '\0'; ++c) {
                    missing += static_cast<char>(*c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c);
                }
            }
        }
        message = std::string("the ") + vendorText + " lacks " + missing;
        return false;
    }
    }
    if (!transformOfRecord(record, pose)) {
        message = std::string("expected ") + expected;
        return false;
    }
    return true;
}

} // namespace

bool recognizesKuka(std::string_view text) {
    // "{X 1, ..." or "{E6POS: X 1, ...": a member name and then its number,
    // so that other notations' braces ("{x: 0.5, ...", "{1, 2, ...") are not taken.
    const std::size_t open = text.find('{');
    if (open == std::string_view::npos) {
        return false;
    }
    const auto word = [&](std::size_t at) {
        while (at < text.size() &&
               (isLetterByte(text[at]) || isDigitByte(text[at]) || text[at] == '_')) {
            ++at;
        }
        return at;
    };
    std::size_t at = skipBlanks(text, open + 1);
    if (at >= text.size() || !isLetterByte(text[at])) {
        return false;
    }
    std::size_t end = word(at);
    if (end < text.size() && text[end] == ':') {
        at = skipBlanks(text, end + 1);
        if (at >= text.size() || !isLetterByte(text[at])) {
            return false;
        }
        end = word(at);
    }
    at = skipBlanks(text, end);
    return end < text.size() && isBlankByte(text[end]) && at < text.size() &&
           (isDigitByte(text[at]) || text[at] == '-' || text[at] == '+' || text[at] == '.');
}

bool readKuka(std::string_view text, Transform& pose, NotationText&, std::string& message) {
    static const char* const keys[] = {"x", "y", "z", "a", "b", "c"};
    return acceptPose(firstPose(text, Vendor::kuka), keys, 6, "KUKA pose",
                      "a KUKA aggregate {X x, Y y, Z z, A a, B b, C c}", pose, message);
}

std::string writeKuka(const Transform& pose, const NotationText&) {
    return krlWindowText(pose);
}

void kukaValues(const Transform& pose, double* out) {
    const EulerPose p = eulerPoseFromTransform(pose);
    const double values[] = {p.x, p.y, p.z, p.a, p.b, p.c};
    std::memcpy(out, values, sizeof values);
}

bool recognizesAbb(std::string_view text) {
    const std::string_view body = trimmed(text);
    if (!body.empty() && body.front() == '[') {
        return true;
    }
    for (const char* type : {"robtarget", "tooldata", "wobjdata", "pose"}) {
        const std::size_t length = std::strlen(type);
        for (std::size_t at = 0; at + length <= body.size(); ++at) {
            if (equalsNoCase(body.substr(at, length), type) &&
                body.find(":=", at) != std::string_view::npos) {
                return true;
            }
        }
    }
    return false;
}

bool readAbb(std::string_view text, Transform& pose, NotationText&, std::string& message) {
    static const char* const keys[] = {"x", "y", "z", "q1", "q2", "q3", "q4"};
    const char* const expected =
        "an ABB pose, robtarget, tooldata or wobjdata value or declaration";
    const std::string_view body = trimmed(text);
    if (body.find(":=") != std::string_view::npos) {
        std::string statement(body);
        if (statement.back() != ';') {
            statement += ';';
        }
        return acceptPose(firstPose(statement, Vendor::abb), keys, 7, "ABB pose", expected, pose,
                          message);
    }
    // A bare value: read as a declaration of each type in turn; the reader
    // checks the value's shape against the type.
    FirstPose found;
    for (const char* type : {"pose", "robtarget", "tooldata", "wobjdata"}) {
        const std::string statement = std::string("VAR ") + type +
                                      " value := " + std::string(body) +
                                      (body.empty() || body.back() != ';' ? ";" : "");
        FirstPose attempt = firstPose(statement, Vendor::abb);
        if (attempt.pose) {
            found = attempt;
            break;
        }
    }
    return acceptPose(found, keys, 7, "ABB pose", expected, pose, message);
}

std::string writeAbb(const Transform& pose, const NotationText&) {
    return rapidWindowText(pose);
}

void abbValues(const Transform& pose, double* out) {
    const QuatPose p = quatPoseFromTransform(pose);
    const double values[] = {p.x, p.y, p.z, p.q1, p.q2, p.q3, p.q4};
    std::memcpy(out, values, sizeof values);
}

bool recognizesFanuc(std::string_view text) {
    for (std::size_t at = text.find('X'); at != std::string_view::npos;
         at = text.find('X', at + 1)) {
        // X, then blanks, then "=": never the X of "RX".
        const std::size_t equals = skipBlanks(text, at + 1);
        if ((at == 0 || !isLetterByte(text[at - 1])) && equals < text.size() &&
            text[equals] == '=') {
            return true;
        }
    }
    return trimmed(text).substr(0, 2) == "P[";
}

bool readFanuc(std::string_view text, Transform& pose, NotationText&, std::string& message) {
    static const char* const keys[] = {"x", "y", "z", "w", "p", "r"};
    const std::string_view body = trimmed(text);
    // The window copies the members alone; a listing's whole position has
    // its P[n] block. Either way the reader needs its /POS section.
    const std::string listing = body.substr(0, 2) == "P["
                                    ? "/POS\n" + std::string(body) + "\n/END\n"
                                    : "/POS\nP[1]{\n   GP1:\n" + std::string(body) + "\n};\n/END\n";
    if (acceptPose(firstPose(listing, Vendor::fanuc), keys, 6, "FANUC position",
                   "a FANUC position X = x mm, Y = y mm, Z = z mm, W = w deg, P = p deg, "
                   "R = r deg",
                   pose, message)) {
        return true;
    }
    // The reader names the position; here there is only the one.
    if (message.rfind("P[", 0) == 0 && message.find("]: ") != std::string::npos) {
        message.erase(0, message.find("]: ") + 3);
    }
    return false;
}

std::string writeFanuc(const Transform& pose, const NotationText&) {
    return fanucWindowText(pose);
}

void fanucValues(const Transform& pose, double* out) {
    const EulerPose p = eulerPoseFromTransform(pose);
    const double values[] = {p.x, p.y, p.z, p.c, p.b, p.a};
    std::memcpy(out, values, sizeof values);
}

namespace {

// The numbers of a matrix text: separated by blanks, commas, semicolons and
// brackets, nothing else. False for anything that is not a number, or for
// more than 16 of them.
bool matrixNumbers(std::string_view text, float (&values)[16], int& count) {
    count = 0;
    std::size_t at = 0;
    for (;;) {
        while (at < text.size() &&
               (isBlankByte(text[at]) || std::strchr(",;[]()", text[at]) != nullptr)) {
            ++at;
        }
        if (at == text.size()) {
            return count > 0;
        }
        float value = 0.0f;
        std::size_t length = 0;
        if (count == 16 || !readNumberAt(text, at, value, length)) {
            return false;
        }
        at += length;
        if (at < text.size() && !isBlankByte(text[at]) &&
            std::strchr(",;[]()", text[at]) == nullptr) {
            return false;
        }
        values[count++] = value;
    }
}

} // namespace

bool recognizesMatrix(std::string_view text) {
    float values[16];
    int count = 0;
    return matrixNumbers(text, values, count) && (count == 12 || count == 16);
}

bool readMatrix(std::string_view text, Transform& pose, NotationText&, std::string& message) {
    float values[16] = {};
    int count = 0;
    if (!matrixNumbers(text, values, count) || (count != 12 && count != 16)) {
        message = "expected 12 or 16 numbers of a matrix, row by row";
        return false;
    }
    if (count == 12) {
        values[12] = 0.0f;
        values[13] = 0.0f;
        values[14] = 0.0f;
        values[15] = 1.0f;
    }
    const Transform m = transformFromFloats(values);
    if (!isRigidTransform(m)) {
        message = narrowAscii(matrixRejectionMessage(m));
        return false;
    }
    pose = m;
    return true;
}

std::string writeMatrix(const Transform& pose, const NotationText&) {
    // The window's matrix fields: seven decimals for the rotation, two for
    // the translation, none for the bottom row.
    std::string out;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const FixedFormat format = row == 3      ? FixedFormat{0, 0, false}
                                       : column == 3 ? FixedFormat{2, 0, false}
                                                     : FixedFormat{7, 0, false};
            // The bottom row is 0 0 0 1 however a product signed its zeros.
            const double value = row == 3 ? at(pose, row, column) + 0.0 : at(pose, row, column);
            char buffer[64];
            if (formatFixed(value, format, buffer, sizeof buffer) < 0) {
                return {};
            }
            out += column == 0 ? "" : " ";
            out += buffer;
        }
        out += row == 3 ? "" : "\n";
    }
    return out;
}

void matrixValues(const Transform& pose, double* out) {
    std::memcpy(out, pose.e, sizeof pose.e);
}
