#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What one line of KRL is, as far as the poses on it are concerned: KRL
// statements end with their line, so the line's first words tell. Used by
// the pose reader to give each aggregate its role, and by the readers of
// whole programs.

enum class KrlLineKind {
    blank,        // empty, or only a comment (folds are comments)
    header,       // &ACCESS, &REL, &PARAM
    routineStart, // DEF, DEFFCT, GLOBAL DEF ...
    routineEnd,   // END, ENDFCT
    dataStart,    // DEFDAT
    dataEnd,      // ENDDAT
    declaration,  // DECL ... or TYPE name = ... in a data list
    motion,       // PTP LIN CIRC SPTP SLIN SCIRC SPL and their _REL forms
    assignment,   // left = right
    other,        // IF, WAIT, calls, BAS(...), and the rest
};

// One point argument of a motion: its bytes in the line, blanks trimmed.
struct KrlArgument {
    std::size_t begin = 0;
    std::size_t end = 0;
};

constexpr int maxKrlMotionArguments = 2; // CIRC: the auxiliary point, then the end point

struct KrlLine {
    KrlLineKind kind = KrlLineKind::blank;
    std::string_view keyword; // the statement's first word as written: PTP, LIN_REL, DECL, IF
    // motion
    bool relative = false; // LIN_REL and the like: the target is an offset from where it stands
    int argumentCount = 0;
    KrlArgument arguments[maxKrlMotionArguments];
    // assignment: the left side, trimmed, and where its '=' stands
    std::string_view assigned;
    std::size_t equalsAt = 0;
};

// text is one line without its line ending.
KrlLine classifyKrlLine(std::string_view text);

// A variable's name as KRL compares names, reduced to the variable itself:
// lower case, up to the first '[' or '.' ("lfWorkPos[2].x" is "lfworkpos").
std::string krlNameKey(std::string_view name);

// Calls visit(name) for every variable name that stands in the expression
// text[begin, end) outside aggregates and indices: the names a motion's
// argument uses ("lfWorkPos[2]:{X 0}" uses lfWorkPos).
template <typename Visit>
void forEachKrlName(std::string_view text, std::size_t begin, std::size_t end, Visit visit);

// A KRL name's bytes: XP1, $TOOL, E6POS, TOOL_DATA.
inline bool isKrlNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
}

template <typename Visit>
void forEachKrlName(std::string_view text, std::size_t begin, std::size_t end, Visit visit) {
    int depth = 0;
    std::size_t pos = begin;
    while (pos < end) {
        const char c = text[pos];
        if (c == '{' || c == '[' || c == '(') {
            ++depth;
            ++pos;
        } else if (c == '}' || c == ']' || c == ')') {
            depth = depth > 0 ? depth - 1 : 0;
            ++pos;
        } else if (depth == 0 && isKrlNameByte(c) && !(c >= '0' && c <= '9')) {
            const std::size_t start = pos;
            while (pos < end && isKrlNameByte(text[pos])) {
                ++pos;
            }
            visit(text.substr(start, pos - start));
        } else {
            ++pos;
        }
    }
}
