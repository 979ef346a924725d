#include "notation/fanuc_text.h"

#include "math/number_text.h"
#include "notation/narrow_text.h"
#include "notation/scan.h"
#include "notation/wide_writer.h"

#include <cstring>

namespace {

// Whether the letter at text is a label: followed, after optional blanks, by "=".
bool isLabel(const char* letter) {
    const char* next = letter + 1;
    while (*next == ' ' || *next == '\t') {
        ++next;
    }
    return *next == '=';
}

// The occurrence of the letter that labels a value. A remote-TCP listing
// ("RX = ..., RY = ..., RR = ...") holds the letter inside other labels
// first, so a letter followed by "=" is preferred; without one, the first
// occurrence counts wherever it stands, as users' texts have always been read.
const char* findMemberLetter(const char* text, char letter) {
    const char* first = std::strchr(text, letter);
    for (const char* at = first; at != nullptr; at = std::strchr(at + 1, letter)) {
        if (isLabel(at)) {
            return at;
        }
    }
    return first;
}

// Reads one member from the text that starts at the anchor "X", on a copy of its own.
bool readFanucMember(const char* region, char letter, double& field) {
    char copy[narrowBufferSize];
    std::strncpy(copy, region, narrowBufferSize - 1);
    copy[narrowBufferSize - 1] = '\0';

    const char* member = findMemberLetter(copy, letter);
    if (member == nullptr) {
        return false;
    }
    // The number starts three characters after the letter, past " =" (or
    // whatever two characters stand there), unless the text ends before.
    const std::size_t rest = std::strlen(member);
    float value = 0.0f;
    if (rest <= 3 || !readSingle(member + 3, value)) {
        field = 0.0;
        return false;
    }
    field = static_cast<double>(value);
    return true;
}

} // namespace

bool parseFanucText(const wchar_t* text, EulerPose& pose) {
    char narrow[narrowBufferSize];
    narrowText(text, narrow);

    // The anchor is the first upper-case X, found before case folding: it
    // skips a user-frame and tool-frame prefix such as "UF : 1, UT : 1,".
    char* anchor = std::strchr(narrow, 'X');
    if (anchor == nullptr) {
        return false;
    }
    lowerCaseAscii(narrow);

    // W, P and R turn about X, Y and Z, so they land in c, b and a.
    struct Member {
        char letter;
        double& field;
    };
    const Member members[] = {{'x', pose.x}, {'y', pose.y}, {'z', pose.z},
                              {'w', pose.c}, {'p', pose.b}, {'r', pose.a}};
    bool any = false;
    for (const Member& member : members) {
        any = readFanucMember(anchor, member.letter, member.field) || any;
    }
    return any;
}

bool formatFanucText(EulerPose pose, wchar_t* buffer, int capacity) {
    const FixedFormat listing{3, 9, true};
    const struct {
        const char* label;
        double value;
        const char* unit;
    } members[] = {{"  X =", pose.x, "  mm,"},   {"  Y =", pose.y, "  mm,"},
                   {"  Z =", pose.z, "  mm,\n"}, {"  W =", pose.c, " deg,"},
                   {"  P =", pose.b, " deg,"},   {"  R =", pose.a, " deg\n"}};
    WideWriter writer = startWideText(buffer, capacity);
    for (const auto& member : members) {
        appendAscii(writer, member.label);
        appendFixed(writer, member.value, listing);
        appendAscii(writer, member.unit);
    }
    return finishWideText(writer);
}
