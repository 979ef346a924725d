#include "notation/kuka_text.h"

#include "math/number_text.h"
#include "notation/narrow_text.h"
#include "notation/scan.h"
#include "notation/wide_writer.h"

#include <cstring>

namespace {

// Reads one member from the text that starts at the opening brace. Each call
// works on its own copy, because cutting the member's text at its comma must
// not disturb the search for the next member.
bool readKukaMember(const char* region, char letter, double& field) {
    char copy[narrowBufferSize];
    std::strncpy(copy, region, narrowBufferSize - 1);
    copy[narrowBufferSize - 1] = '\0';

    // The first occurrence of the letter counts wherever it stands, even
    // inside a type name: users' texts rely on this, so "{FRAME: X 1, ...}"
    // finds the "a" of "frame" and sets A to zero.
    char* member = std::strchr(copy, letter);
    if (member == nullptr) {
        return false;
    }
    char* end = std::strchr(member, ',');
    if (end == nullptr) {
        end = std::strchr(member, '}');
    }
    if (end == nullptr) {
        return false;
    }
    *end = '\0';

    float value = 0.0f;
    if (!readSingle(member + 1, value)) {
        field = 0.0;
        return false;
    }
    field = static_cast<double>(value);
    return true;
}

} // namespace

bool parseKukaText(const wchar_t* text, EulerPose& pose) {
    char narrow[narrowBufferSize];
    narrowText(text, narrow);

    char* open = std::strchr(narrow, '{');
    if (open == nullptr) {
        return false;
    }
    char* close = std::strchr(open, '}');
    if (close == nullptr) {
        return false;
    }
    // Nothing behind the first closing brace is looked at.
    close[1] = '\0';
    lowerCaseAscii(narrow);

    struct Member {
        char letter;
        double& field;
    };
    const Member members[] = {{'x', pose.x}, {'y', pose.y}, {'z', pose.z},
                              {'a', pose.a}, {'b', pose.b}, {'c', pose.c}};
    bool any = false;
    for (const Member& member : members) {
        any = readKukaMember(open, member.letter, member.field) || any;
    }
    return any;
}

bool formatKukaText(EulerPose pose, wchar_t* buffer, int capacity) {
    const FixedFormat twoDecimals{2, 0, false};
    const struct {
        const char* label;
        double value;
    } members[] = {{"{X ", pose.x},  {", Y ", pose.y}, {", Z ", pose.z},
                   {", A ", pose.a}, {", B ", pose.b}, {", C ", pose.c}};
    WideWriter writer = startWideText(buffer, capacity);
    for (const auto& member : members) {
        appendAscii(writer, member.label);
        appendFixed(writer, member.value, twoDecimals);
    }
    appendAscii(writer, "}");
    return finishWideText(writer);
}
