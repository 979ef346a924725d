#include "robotfiles/fanuc/fanuc_writer.h"
#include "math/transform.h"
#include "notation/fanuc_text.h"
#include "robotfiles/decimal_text.h"

#include "math/euler_pose.h"
#include "math/number_text.h"

std::string fanucDecimal(double value) {
    char buffer[64];
    if (formatFixed(value, FixedFormat{3, 0, false}, buffer, sizeof buffer) < 0) {
        return "********";
    }
    std::string text = buffer;
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    if (text.rfind("0.", 0) == 0) {
        text.erase(0, 1);
    } else if (text.rfind("-0.", 0) == 0) {
        text.erase(1, 1);
    }
    return text;
}

std::string fanucMembersText(const PoseValues& pose, std::string_view lineEnd) {
    double v[6];
    float read[6];
    if (eulerAsRead(pose, read)) {
        for (int k = 0; k < 6; ++k) {
            v[k] = static_cast<double>(read[k]);
        }
    } else {
        const EulerPose e = eulerPoseFromTransform(pose.matrix);
        const double converted[6] = {e.x, e.y, e.z, e.a, e.b, e.c};
        for (int k = 0; k < 6; ++k) {
            v[k] = converted[k];
        }
    }
    // W, P, R turn about X, Y, Z: they are c, b, a.
    const struct {
        const char* label;
        double value;
        const char* unit;
    } members[] = {{"\tX = ", v[0], "  mm,"}, {"\tY = ", v[1], "  mm,"}, {"\tZ = ", v[2], "  mm,"},
                   {"\tW = ", v[5], " deg,"}, {"\tP = ", v[4], " deg,"}, {"\tR = ", v[3], " deg"}};
    std::string text;
    for (int k = 0; k < 6; ++k) {
        const std::string number = fanucDecimal(members[k].value);
        text += members[k].label;
        if (number.size() < 9) {
            text.append(9 - number.size(), ' ');
        }
        text += number;
        text += members[k].unit;
        if (k == 2 || k == 5) {
            text += lineEnd;
        }
    }
    return text;
}

std::string fanucWindowText(const Transform& pose) {
    wchar_t buffer[wideTextCapacity];
    if (!formatFanucText(eulerPoseFromTransform(pose), buffer, wideTextCapacity)) {
        return {};
    }
    // The window's listing ends its last line; a text here does not.
    std::string text = narrowAscii(buffer);
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

std::string fanucFineText(const Transform& pose) {
    const EulerPose p = eulerPoseFromTransform(pose);
    return "X = " + fixedText(p.x, 3) + " mm, Y = " + fixedText(p.y, 3) +
           " mm, Z = " + fixedText(p.z, 3) + " mm, W = " + fixedText(p.c, 4) +
           " deg, P = " + fixedText(p.b, 4) + " deg, R = " + fixedText(p.a, 4) + " deg";
}

namespace {

// The byte at a file offset, if the window holds it.
bool byteAt(const ByteWindow& window, std::uint64_t offset, char& byte) {
    if (offset < window.start || offset - window.start >= window.text.size()) {
        return false;
    }
    byte = window.text[offset - window.start];
    return true;
}

} // namespace

// A FANUC listing writes numbers right-aligned after "=": the blanks before
// the number belong to its field, so the new number takes the same field
// and keeps the column where it fits.
bool fanucNumberReplacement(const PoseMember& member, double value, const ByteWindow& window,
                            Replacement& replacement) {
    char buffer[64];
    if (formatFixed(value, FixedFormat{3, 0, false}, buffer, sizeof buffer) < 0) {
        return false;
    }
    std::string text = buffer;
    // A value that rounds to zero is written without a sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    char first = '\0';
    char second = '\0';
    byteAt(window, member.text.offset, first);
    byteAt(window, member.text.offset + 1, second);
    const bool oldLeadingZero =
        !(first == '.' || ((first == '-' || first == '+') && second == '.'));
    if (!oldLeadingZero) {
        if (text.rfind("0.", 0) == 0) {
            text.erase(0, 1);
        } else if (text.rfind("-0.", 0) == 0) {
            text.erase(1, 1);
        }
    }
    std::uint64_t start = member.text.offset;
    char before = '\0';
    while (start > window.start && byteAt(window, start - 1, before) && before == ' ') {
        --start;
    }
    const std::uint64_t field = member.text.offset + member.text.length - start;
    const std::uint64_t keepBlank = start < member.text.offset ? 1 : 0;
    if (text.size() + keepBlank <= field) {
        text.insert(0, field - text.size(), ' ');
    } else {
        text.insert(0, keepBlank, ' ');
    }
    replacement.offset = start;
    replacement.length = field;
    replacement.text = text;
    return true;
}
