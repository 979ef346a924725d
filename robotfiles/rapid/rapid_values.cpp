#include "robotfiles/rapid/rapid_values.h"

#include "robotfiles/scan_text.h"

#include <cstring>

namespace {

bool fail(RapidCursor& cursor, const char* expected, const char* part) {
    if (cursor.expected == nullptr) {
        cursor.troubleAt = cursor.pos;
        cursor.expected = expected;
        cursor.part = part;
    }
    return false;
}

bool readNumber(RapidCursor& cursor, RapidNumber& number) {
    cursor.pos = skipRapidGap(cursor.text, cursor.pos);
    std::size_t length = 0;
    if (!readNumberAt(cursor.text, cursor.pos, number.value, length)) {
        return fail(cursor, "a number", nullptr);
    }
    number.at = cursor.pos;
    number.length = length;
    cursor.pos += length;
    return true;
}

// [n, n, ...] with exactly count numbers.
bool readNumbers(RapidCursor& cursor, RapidNumber* numbers, int count, const char* part) {
    if (!takeRapidSymbol(cursor, '[', "'[' to start the", part)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !takeRapidSymbol(cursor, ',', "',' in the", part)) {
            return false;
        }
        if (!readNumber(cursor, numbers[i])) {
            return false;
        }
    }
    return takeRapidSymbol(cursor, ']', "']' to close the", part);
}

bool readFrame(RapidCursor& cursor, RapidFrame& frame, const char* part) {
    return takeRapidSymbol(cursor, '[', "'[' to start the", part) &&
           readNumbers(cursor, frame.trans, 3, "trans") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumbers(cursor, frame.rot, 4, "rot") &&
           takeRapidSymbol(cursor, ']', "']' to close the", part);
}

bool isWordByte(char c) {
    return isLetterByte(c) || isDigitByte(c) || c == '_';
}

bool readBool(RapidCursor& cursor, bool& value) {
    cursor.pos = skipRapidGap(cursor.text, cursor.pos);
    std::size_t end = cursor.pos;
    while (end < cursor.text.size() && isWordByte(cursor.text[end])) {
        ++end;
    }
    const std::string_view word = cursor.text.substr(cursor.pos, end - cursor.pos);
    if (equalsNoCase(word, "TRUE") || equalsNoCase(word, "FALSE")) {
        value = equalsNoCase(word, "TRUE");
        cursor.pos = end;
        return true;
    }
    return fail(cursor, "TRUE or FALSE", nullptr);
}

bool readString(RapidCursor& cursor, std::size_t& at, std::size_t& length) {
    cursor.pos = skipRapidGap(cursor.text, cursor.pos);
    if (cursor.pos >= cursor.text.size() || cursor.text[cursor.pos] != '"') {
        return fail(cursor, "a string", nullptr);
    }
    bool closed = false;
    const std::size_t end = skipRapidString(cursor.text, cursor.pos, &closed);
    if (!closed) {
        cursor.pos = end;
        return fail(cursor, "'\"' to close the string", nullptr);
    }
    at = cursor.pos + 1;
    length = end - cursor.pos - 2;
    cursor.pos = end;
    return true;
}

bool readRobtarget(RapidCursor& cursor, RapidValue& value) {
    const char* part = "robtarget";
    return takeRapidSymbol(cursor, '[', "'[' to start the", part) &&
           readNumbers(cursor, value.frame.trans, 3, "trans") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumbers(cursor, value.frame.rot, 4, "rot") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumbers(cursor, value.robconf, 4, "robconf") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumbers(cursor, value.extax, 6, "extax") &&
           takeRapidSymbol(cursor, ']', "']' to close the", part);
}

// [[rax_1, ..., rax_6], [eax_a, ..., eax_f]]
bool readJointtarget(RapidCursor& cursor, RapidValue& value) {
    const char* part = "jointtarget";
    return takeRapidSymbol(cursor, '[', "'[' to start the", part) &&
           readNumbers(cursor, value.robax, 6, "robax") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumbers(cursor, value.extax, 6, "extax") &&
           takeRapidSymbol(cursor, ']', "']' to close the", part);
}

// [mass, [cx, cy, cz], [q1, q2, q3, q4], ix, iy, iz]
bool readLoad(RapidCursor& cursor, RapidValue& value) {
    const char* part = "tload";
    return takeRapidSymbol(cursor, '[', "'[' to start the", part) &&
           readNumber(cursor, value.mass) && takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumbers(cursor, value.cog, 3, "cog") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumbers(cursor, value.aom, 4, "aom") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumber(cursor, value.inertia[0]) &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumber(cursor, value.inertia[1]) &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readNumber(cursor, value.inertia[2]) &&
           takeRapidSymbol(cursor, ']', "']' to close the", part);
}

bool readTooldata(RapidCursor& cursor, RapidValue& value) {
    const char* part = "tooldata";
    return takeRapidSymbol(cursor, '[', "'[' to start the", part) &&
           readBool(cursor, value.robhold) && takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readFrame(cursor, value.frame, "tframe") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) && readLoad(cursor, value) &&
           takeRapidSymbol(cursor, ']', "']' to close the", part);
}

bool readWobjdata(RapidCursor& cursor, RapidValue& value) {
    const char* part = "wobjdata";
    return takeRapidSymbol(cursor, '[', "'[' to start the", part) &&
           readBool(cursor, value.robhold) && takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readBool(cursor, value.ufprog) && takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readString(cursor, value.ufmecAt, value.ufmecLength) &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readFrame(cursor, value.frame, "uframe") &&
           takeRapidSymbol(cursor, ',', "',' in the", part) &&
           readFrame(cursor, value.objectFrame, "oframe") &&
           takeRapidSymbol(cursor, ']', "']' to close the", part);
}

} // namespace

std::size_t skipRapidGap(std::string_view text, std::size_t pos) {
    while (pos < text.size()) {
        const char c = text[pos];
        if (isBlankByte(c)) {
            ++pos;
        } else if (c == '!') {
            const void* end = std::memchr(text.data() + pos, '\n', text.size() - pos);
            pos = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) + 1
                      : text.size();
        } else {
            break;
        }
    }
    return pos;
}

std::size_t skipRapidString(std::string_view text, std::size_t pos, bool* closed) {
    if (closed != nullptr) {
        *closed = false;
    }
    for (++pos; pos < text.size(); ++pos) {
        if (text[pos] == '"') {
            // A quote inside a string is written twice.
            if (pos + 1 < text.size() && text[pos + 1] == '"') {
                ++pos;
                continue;
            }
            if (closed != nullptr) {
                *closed = true;
            }
            return pos + 1;
        }
        if (text[pos] == '\n') {
            return pos;
        }
    }
    return pos;
}

bool takeRapidSymbol(RapidCursor& cursor, char symbol, const char* expected, const char* part) {
    cursor.pos = skipRapidGap(cursor.text, cursor.pos);
    if (cursor.pos < cursor.text.size() && cursor.text[cursor.pos] == symbol) {
        ++cursor.pos;
        return true;
    }
    return fail(cursor, expected, part);
}

bool readRapidValue(RapidCursor& cursor, RapidType type, RapidValue& value) {
    value.type = type;
    switch (type) {
    case RapidType::robtarget:
        return readRobtarget(cursor, value);
    case RapidType::tooldata:
        return readTooldata(cursor, value);
    case RapidType::wobjdata:
        return readWobjdata(cursor, value);
    case RapidType::pose:
        return readFrame(cursor, value.frame, "pose");
    case RapidType::jointtarget:
        return readJointtarget(cursor, value);
    }
    return false;
}
