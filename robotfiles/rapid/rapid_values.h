#pragma once

#include <cstddef>
#include <string_view>

// RAPID data as a program writes it: the literals of robtarget, pose,
// tooldata and wobjdata, read from a statement's bytes with the place of
// every number kept. Blanks, line endings and "!" comments may stand between
// any two tokens.

// A byte of a RAPID name or keyword, and the end of the word at pos.
inline bool isRapidWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
inline std::size_t rapidWordEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isRapidWordByte(text[pos])) {
        ++pos;
    }
    return pos;
}

enum class RapidType { robtarget, tooldata, wobjdata, pose, jointtarget };

struct RapidNumber {
    float value = 0.0f;
    std::size_t at = 0; // index of its first byte in the text
    std::size_t length = 0;
};

// A pos and an orient: [[x, y, z], [q1, q2, q3, q4]].
struct RapidFrame {
    RapidNumber trans[3];
    RapidNumber rot[4];
};

// Every member that one of the four types has; each type fills its own.
struct RapidValue {
    RapidType type = RapidType::robtarget;
    // robtarget and pose: the pose; tooldata: tframe; wobjdata: uframe.
    RapidFrame frame;
    RapidFrame objectFrame; // wobjdata: oframe
    RapidNumber robconf[4];
    RapidNumber extax[6]; // robtarget and jointtarget: the external axes
    RapidNumber robax[6]; // jointtarget: the robot's axes
    bool robhold = false;
    bool ufprog = false;
    // wobjdata's ufmec: the bytes between the quotes, as written.
    std::size_t ufmecAt = 0;
    std::size_t ufmecLength = 0;
    // tooldata's tload.
    RapidNumber mass;
    RapidNumber cog[3];
    RapidNumber aom[4];
    RapidNumber inertia[3];
};

// Reading position in a statement's text, and the first trouble met.
struct RapidCursor {
    std::string_view text;
    std::size_t pos = 0;
    // Where reading failed, and what was expected there: "expected " +
    // expected, then " " + part when there is one ("']' to close the",
    // "robtarget").
    std::size_t troubleAt = 0;
    const char* expected = nullptr;
    const char* part = nullptr;
};

// Past blanks, line endings and comments.
std::size_t skipRapidGap(std::string_view text, std::size_t pos);
// Just past the string that starts with the quote at text[pos]; a string
// left open ends at its line's end, as strings never span lines.
std::size_t skipRapidString(std::string_view text, std::size_t pos, bool* closed = nullptr);

// Takes the symbol after any gap, or records what was expected.
bool takeRapidSymbol(RapidCursor& cursor, char symbol, const char* expected, const char* part);

// Reads one literal of the type from the cursor's position on, leaving the
// cursor just past its closing bracket; false at the first trouble.
bool readRapidValue(RapidCursor& cursor, RapidType type, RapidValue& value);
