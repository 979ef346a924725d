#include "robotfiles/rapid/rapid_statement.h"

#include "robotfiles/rapid/rapid_record.h"
#include "robotfiles/rapid/rapid_values.h"
#include "robotfiles/scan_text.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// RAPID allows arrays of up to three dimensions.
constexpr int maxDimensions = 3;

struct TypeWord {
    std::string_view word;
    RapidType type;
};
constexpr TypeWord typeWords[] = {{"robtarget", RapidType::robtarget},
                                  {"tooldata", RapidType::tooldata},
                                  {"wobjdata", RapidType::wobjdata},
                                  {"pose", RapidType::pose},
                                  {"jointtarget", RapidType::jointtarget}};

struct Declaration {
    RapidType type = RapidType::robtarget;
    std::string_view name;
    int dimensions = 0;
    // The number of elements of each dimension; 0 where the size is a
    // constant's name, so any count is taken.
    std::uint32_t sizes[maxDimensions] = {};
};

struct Walk {
    const RapidStatement& statement;
    bool ended;
    RapidWorkspace& work;
    const ScanCallbacks& out;
    // The statement's instruction (MoveL, SetDO, a routine's name), once
    // met after the structure around it (PROC main(), IF ... THEN).
    std::string_view instruction = {};
    std::size_t instructionEnd = 0;
    bool expectInstruction = true;
    int parentheses = 0; // open '(' since the statement's start
    // Inside the value of data of another type: a robtarget there is part
    // of a record, not a pose of its own.
    bool inOtherData = false;
};

std::size_t lineEnd(std::string_view text, std::size_t pos) {
    const void* end = std::memchr(text.data() + pos, '\n', text.size() - pos);
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) + 1
               : text.size();
}

void warn(Walk& walk, std::size_t at, const char* expected, const char* part) {
    if (!walk.out.warning) {
        return;
    }
    const RapidPlace place = rapidPlaceOf(walk.statement, at);
    std::string message = "expected ";
    message += expected;
    if (part != nullptr) {
        message += ' ';
        message += part;
    }
    walk.out.warning(ScanWarning{place.line, place.column, std::move(message)});
}

// A pose of nothing: trans 0 and rot the identity (or all 0), as code
// starts a variable.
bool isZero(const RapidValue& value) {
    for (const RapidNumber& number : value.frame.trans) {
        if (number.value != 0.0f) {
            return false;
        }
    }
    const RapidNumber* rot = value.frame.rot;
    const bool identity = rot[0].value == 1.0f && rot[1].value == 0.0f && rot[2].value == 0.0f &&
                          rot[3].value == 0.0f;
    const bool none = rot[0].value == 0.0f && rot[1].value == 0.0f && rot[2].value == 0.0f &&
                      rot[3].value == 0.0f;
    return identity || none;
}

// A variable given a value in code: its start, or a pose that may or may
// not be a position.
PoseRole codeRole(const RapidValue& value) {
    return isZero(value) ? PoseRole::initialisation : PoseRole::assignment;
}

// Reports the value just read, which starts at text[at]; the name is set.
void report(Walk& walk, std::size_t at, PoseRole role) {
    PoseRecord& record = walk.work.record;
    const RapidPlace place = rapidPlaceOf(walk.statement, at);
    record.line = place.line;
    record.column = place.column;
    record.offset = place.offset;
    fillRapidRecord(walk.work.value, walk.statement.text, walk.statement.offset, record);
    record.role = role;
    if (role == PoseRole::undecided && walk.out.warning) {
        walk.out.warning(
            ScanWarning{place.line, place.column,
                        "an inline robtarget " +
                            (walk.instruction.empty() ? std::string("here")
                                                      : "in " + std::string(walk.instruction)) +
                            ": not a motion's target, a declaration nor an assignment; left alone",
                        true});
    }
    if (walk.out.pose) {
        walk.out.pose(record);
    }
}

// The role of a declaration's value, by its type and where it stands.
PoseRole declaredRole(const Walk& walk, RapidType type) {
    switch (type) {
    case RapidType::robtarget:
        return walk.work.inRoutine ? codeRole(walk.work.value) : PoseRole::position;
    case RapidType::jointtarget:
        return PoseRole::joint;
    case RapidType::tooldata:
    case RapidType::wobjdata:
    case RapidType::pose:
        return PoseRole::frame;
    }
    return PoseRole::undecided;
}

bool startsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && equalsNoCase(text.substr(0, start.size()), start);
}

} // namespace

bool isMotionInstruction(std::string_view word) {
    for (const std::string_view start :
         {"Move", "Trigg", "Arc", "Spot", "Search", "Cap", "Paint"}) {
        if (startsWithNoCase(word, start)) {
            return true;
        }
    }
    return false;
}

namespace {

// name{i} or name{i,j}, counted from 1.
void setElementName(std::string& name, std::string_view declared, const std::uint64_t* index,
                    int dimensions) {
    name.assign(declared);
    name += '{';
    for (int d = 0; d < dimensions; ++d) {
        if (d > 0) {
            name += ',';
        }
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, index[d]);
        name.append(digits, result.ptr);
    }
    name += '}';
}

bool readArrayLevel(Walk& walk, RapidCursor& cursor, const Declaration& declaration, int level,
                    std::uint64_t* index, bool emit) {
    if (level >= maxDimensions ||
        !takeRapidSymbol(cursor, '[', "'[' to start the array", nullptr)) {
        return false;
    }
    const std::string_view text = cursor.text;
    for (std::uint64_t count = 1;; ++count) {
        index[level] = count;
        if (level + 1 < declaration.dimensions) {
            if (!readArrayLevel(walk, cursor, declaration, level + 1, index, emit)) {
                return false;
            }
        } else {
            const std::size_t at = skipRapidGap(text, cursor.pos);
            if (!readRapidValue(cursor, declaration.type, walk.work.value)) {
                return false;
            }
            if (emit) {
                setElementName(walk.work.record.name, declaration.name, index,
                               declaration.dimensions);
                report(walk, at, declaredRole(walk, declaration.type));
            }
        }
        const std::uint32_t size = declaration.sizes[level];
        const std::size_t next = skipRapidGap(text, cursor.pos);
        const bool more = size != 0 ? count < size : next < text.size() && text[next] == ',';
        if (!more) {
            return takeRapidSymbol(cursor, ']', "']' to close the array", nullptr);
        }
        if (!takeRapidSymbol(cursor, ',', "',' before the next element of the array", nullptr)) {
            return false;
        }
    }
}

// The value after ":=", one record an element; reports only when emit is set.
bool readDeclaredValue(Walk& walk, RapidCursor& cursor, const Declaration& declaration, bool emit) {
    if (declaration.dimensions > 0) {
        std::uint64_t index[maxDimensions] = {};
        return readArrayLevel(walk, cursor, declaration, 0, index, emit);
    }
    const std::size_t at = skipRapidGap(cursor.text, cursor.pos);
    if (!readRapidValue(cursor, declaration.type, walk.work.value)) {
        return false;
    }
    if (emit) {
        walk.work.record.name.assign(declaration.name);
        report(walk, at, declaredRole(walk, declaration.type));
    }
    return true;
}

// {3} or {2, 3}: numbers, or constants' names whose values are not known here.
bool readSizes(RapidCursor& cursor, Declaration& declaration) {
    const std::string_view text = cursor.text;
    ++cursor.pos; // the '{'
    for (;;) {
        cursor.pos = skipRapidGap(text, cursor.pos);
        if (declaration.dimensions == maxDimensions) {
            cursor.troubleAt = cursor.pos;
            cursor.expected = "'}' after at most three sizes of the array";
            return false;
        }
        const std::size_t end = rapidWordEnd(text, cursor.pos);
        if (cursor.pos < text.size() && isDigitByte(text[cursor.pos])) {
            std::uint32_t size = 0;
            const auto result = std::from_chars(text.data() + cursor.pos, text.data() + end, size);
            declaration.sizes[declaration.dimensions] =
                result.ec == std::errc() && result.ptr == text.data() + end ? size : 0;
            cursor.pos = end;
        } else if (end > cursor.pos) {
            cursor.pos = end;
        } else if (cursor.pos < text.size() && text[cursor.pos] == '*') {
            ++cursor.pos;
        } else {
            cursor.troubleAt = cursor.pos;
            cursor.expected = "the size of the array";
            return false;
        }
        ++declaration.dimensions;
        cursor.pos = skipRapidGap(text, cursor.pos);
        if (cursor.pos < text.size() && text[cursor.pos] == '}') {
            ++cursor.pos;
            return true;
        }
        if (!takeRapidSymbol(cursor, ',', "',' or '}' in the size of the array", nullptr)) {
            return false;
        }
    }
}

// After CONST, PERS or VAR: returns where the walk goes on.
std::size_t readDeclaration(Walk& walk, std::size_t keywordEnd) {
    const std::string_view text = walk.statement.text;
    const std::size_t typeAt = skipRapidGap(text, keywordEnd);
    const std::size_t typeEnd = rapidWordEnd(text, typeAt);
    const std::string_view typeWord = text.substr(typeAt, typeEnd - typeAt);
    const TypeWord* found =
        std::find_if(std::begin(typeWords), std::end(typeWords),
                     [&](const TypeWord& t) { return equalsNoCase(typeWord, t.word); });
    if (found == std::end(typeWords)) {
        // Data of another type: its value may still hold robtargets inline.
        walk.inOtherData = true;
        return std::max(typeEnd, keywordEnd);
    }
    Declaration declaration;
    declaration.type = found->type;
    const std::size_t nameAt = skipRapidGap(text, typeEnd);
    if (nameAt >= text.size() || !isLetterByte(text[nameAt])) {
        return nameAt;
    }
    const std::size_t nameEnd = rapidWordEnd(text, nameAt);
    declaration.name = text.substr(nameAt, nameEnd - nameAt);

    RapidCursor cursor{text, skipRapidGap(text, nameEnd)};
    if (cursor.pos < text.size() && text[cursor.pos] == '{' && !readSizes(cursor, declaration)) {
        warn(walk, cursor.troubleAt, cursor.expected, cursor.part);
        return text.size();
    }
    const std::size_t assignAt = skipRapidGap(text, cursor.pos);
    if (text.substr(assignAt, 2) != ":=") {
        // Declared without a value (or a routine's parameter): nothing to list.
        return assignAt;
    }

    // Read once to check the whole value, then again to report it, so that
    // an array with a broken element reports none of its elements.
    RapidCursor check{text, assignAt + 2};
    if (!readDeclaredValue(walk, check, declaration, false)) {
        warn(walk, check.troubleAt, check.expected, check.part);
        return text.size();
    }
    const std::size_t after = skipRapidGap(text, check.pos);
    if (after < text.size() || !walk.ended) {
        warn(walk, walk.ended ? after : check.pos, "';' to end the declaration", nullptr);
        return text.size();
    }
    RapidCursor emit{text, assignAt + 2};
    readDeclaredValue(walk, emit, declaration, true);
    return text.size();
}

// A robtarget written inline at text[bracket] (a jointtarget in MoveAbsJ),
// named by the variable it is assigned to (text[nameAt, nameEnd)) or by
// nothing.
std::size_t readInline(Walk& walk, std::size_t bracket, std::size_t nameAt, std::size_t nameEnd) {
    RapidCursor cursor{walk.statement.text, bracket};
    const bool assigned = nameEnd > nameAt;
    const bool motion = !assigned && walk.parentheses == 0 && isMotionInstruction(walk.instruction);
    const RapidType type = motion && equalsNoCase(walk.instruction, "MoveAbsJ")
                               ? RapidType::jointtarget
                               : RapidType::robtarget;
    if (!walk.ended || !readRapidValue(cursor, type, walk.work.value)) {
        return bracket + 1;
    }
    walk.work.record.name.assign(walk.statement.text.substr(nameAt, nameEnd - nameAt));
    PoseRole role = PoseRole::undecided;
    if (type == RapidType::jointtarget) {
        role = PoseRole::joint;
    } else if (walk.inOtherData) {
        role = PoseRole::frame;
    } else if (assigned) {
        role = walk.work.inRoutine ? codeRole(walk.work.value) : PoseRole::undecided;
    } else if (motion) {
        role = PoseRole::position;
    }
    report(walk, bracket, role);
    return cursor.pos;
}

// Past the index of name{...}; pos when it is not one. The search stops at
// bytes an index never holds, '{' among them, so that searches from
// successive braces never overlap.
std::size_t indexEnd(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || text[pos] != '{') {
        return pos;
    }
    for (std::size_t i = pos + 1; i < text.size(); ++i) {
        switch (text[i]) {
        case '}':
            return i + 1;
        case '{':
        case '[':
        case '"':
        case '!':
        case '\n':
            return pos;
        default:
            break;
        }
    }
    return pos;
}

// A word that is no declaration keyword: the start of a variable, such as
// p10, pStack{2} or rec.target, that may be assigned a robtarget.
std::size_t readAssignment(Walk& walk, std::size_t nameAt) {
    const std::string_view text = walk.statement.text;
    std::size_t nameEnd = rapidWordEnd(text, nameAt);
    for (;;) {
        if (nameEnd + 1 < text.size() && text[nameEnd] == '.' && isLetterByte(text[nameEnd + 1])) {
            nameEnd = rapidWordEnd(text, nameEnd + 1);
        } else if (const std::size_t end = indexEnd(text, nameEnd); end > nameEnd) {
            nameEnd = end;
        } else {
            break;
        }
    }
    const std::size_t assignAt = skipRapidGap(text, nameEnd);
    if (text.substr(assignAt, 2) != ":=") {
        return nameEnd;
    }
    const std::size_t valueAt = skipRapidGap(text, assignAt + 2);
    if (valueAt < text.size() && text[valueAt] == '[') {
        return readInline(walk, valueAt, nameAt, nameEnd);
    }
    return valueAt;
}

bool isDeclarationWord(std::string_view word) {
    return equalsNoCase(word, "CONST") || equalsNoCase(word, "PERS") || equalsNoCase(word, "VAR");
}

// Past a routine's head: its name, and its parameters in parentheses where
// it has them (a TRAP has none).
std::size_t skipRoutineHead(std::string_view text, std::size_t pos, bool parameters) {
    if (!parameters) {
        return rapidWordEnd(text, skipRapidGap(text, pos));
    }
    const std::size_t open = text.find('(', pos);
    if (open == std::string_view::npos) {
        return text.size();
    }
    const std::size_t close = text.find(')', open);
    return close == std::string_view::npos ? text.size() : close + 1;
}

// The words of RAPID's structure, which are no instruction: routines and
// modules, their ends, and the control statements whose instructions come
// after THEN, DO or a label's ':'. Returns where the walk goes on, or npos
// for a word of no structure.
std::size_t readStructureWord(Walk& walk, std::string_view word, std::size_t end) {
    const std::string_view text = walk.statement.text;
    if (equalsAnyNoCase(word, {"PROC", "FUNC", "TRAP"})) {
        walk.work.inRoutine = true;
        walk.expectInstruction = true;
        return skipRoutineHead(text, end, !equalsNoCase(word, "TRAP"));
    }
    if (equalsAnyNoCase(word, {"ENDPROC", "ENDFUNC", "ENDTRAP"})) {
        walk.work.inRoutine = false;
        walk.expectInstruction = true;
        return end;
    }
    if (equalsAnyNoCase(word, {"MODULE"})) {
        walk.work.sawModule = true;
        return rapidWordEnd(text, skipRapidGap(text, end));
    }
    if (equalsAnyNoCase(word,
                        {"IF", "ELSEIF", "WHILE", "FOR", "TEST", "CASE", "RETURN", "RAISE"})) {
        walk.expectInstruction = false;
        return end;
    }
    if (equalsAnyNoCase(word, {"THEN", "ELSE", "DO", "ENDIF", "ENDWHILE", "ENDFOR", "ENDTEST",
                               "DEFAULT", "ERROR", "BACKWARD", "UNDO", "ENDMODULE"})) {
        walk.expectInstruction = true;
        return end;
    }
    if (equalsAnyNoCase(
            word, {"LOCAL", "TASK", "SYSMODULE", "NOSTEPIN", "VIEWONLY", "READONLY", "NOVIEW"})) {
        return end;
    }
    return std::string_view::npos;
}

} // namespace

std::vector<std::pair<std::size_t, std::size_t>> argumentsOf(std::string_view text,
                                                             std::size_t from) {
    std::vector<std::pair<std::size_t, std::size_t>> arguments;
    int depth = 0;
    std::size_t start = skipRapidGap(text, from);
    const auto close = [&](std::size_t end) {
        while (end > start && isBlankByte(text[end - 1])) {
            --end;
        }
        if (end > start) {
            arguments.emplace_back(start, end);
        }
    };
    for (std::size_t pos = start; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '!' || c == '"') {
            pos = (c == '!' ? lineEnd(text, pos) : skipRapidString(text, pos)) - 1;
        } else if (c == '[' || c == '(' || c == '{') {
            ++depth;
        } else if ((c == ']' || c == ')' || c == '}') && depth > 0) {
            --depth;
        } else if (depth == 0 && (c == ',' || (c == '\\' && pos > start))) {
            // "p10, v100" and "tool0\WObj:=wobj1": both end an argument.
            close(pos);
            start = skipRapidGap(text, c == ',' ? pos + 1 : pos);
            pos = start - 1;
        }
    }
    close(text.size());
    return arguments;
}

namespace {

// A motion's points and its work object, handed on as visits once the
// whole statement is read.
void reportMotion(const Walk& walk) {
    if (!walk.out.motion || !isMotionInstruction(walk.instruction) ||
        equalsNoCase(walk.instruction, "MoveAbsJ") ||
        startsWithNoCase(walk.instruction, "Search")) {
        return;
    }
    const std::string_view text = walk.statement.text;
    const auto arguments = argumentsOf(text, walk.instructionEnd);
    std::string frame = "wobj0";
    for (const auto& [begin, end] : arguments) {
        const std::string_view argument = text.substr(begin, end - begin);
        if (argument.size() > 7 && equalsNoCase(argument.substr(0, 7), "\\WObj:=")) {
            frame.assign(argument.substr(7, 64));
        }
    }
    const char last = walk.instruction.empty() ? '\0' : lowerByte(walk.instruction.back());
    const int points = last == 'c' ? 2 : 1; // MoveC, ArcC, TriggC: the circle point first
    int taken = 0;
    for (const auto& [begin, end] : arguments) {
        if (taken == points) {
            break;
        }
        if (text[begin] == '\\') {
            continue; // an optional argument before the points: \Conc
        }
        MotionVisit visit;
        const RapidPlace place = rapidPlaceOf(walk.statement, begin);
        visit.line = place.line;
        visit.frame = frame;
        visit.auxiliary = points == 2 && taken == 0;
        ++taken;
        if (text[begin] == '[') {
            visit.offset = place.offset;
        } else if (rapidWordEnd(text, begin) == end) {
            visit.target.assign(text.substr(begin, end - begin));
        } else {
            continue; // Offs(p10, ...), an expression: no point of its own
        }
        walk.out.motion(visit);
    }
}

} // namespace

RapidPlace rapidPlaceOf(const RapidStatement& statement, std::size_t index) {
    RapidPlace place;
    place.offset = statement.offset + index;
    const auto later =
        std::upper_bound(statement.lineStarts.begin(), statement.lineStarts.end(), index,
                         [](std::size_t i, std::uint32_t start) { return i < start; });
    const std::size_t laterLines = static_cast<std::size_t>(later - statement.lineStarts.begin());
    place.line = statement.firstLineNumber + laterLines;
    place.column = laterLines == 0 ? place.offset - statement.firstLineOffset + 1
                                   : index - statement.lineStarts[laterLines - 1] + 1;
    return place;
}

void readRapidStatement(const RapidStatement& statement, bool ended, RapidWorkspace& work,
                        const ScanCallbacks& out) {
    Walk walk{statement, ended, work, out};
    const std::string_view text = statement.text;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '!') {
            pos = lineEnd(text, pos);
        } else if (c == '"') {
            pos = skipRapidString(text, pos);
        } else if (c == '[') {
            pos = readInline(walk, pos, pos, pos);
        } else if (isLetterByte(c)) {
            const std::size_t end = rapidWordEnd(text, pos);
            const std::string_view word = text.substr(pos, end - pos);
            if (isDeclarationWord(word)) {
                pos = readDeclaration(walk, end);
            } else if (const std::size_t next = readStructureWord(walk, word, end);
                       next != std::string_view::npos) {
                pos = next;
            } else {
                if (walk.expectInstruction) {
                    walk.instruction = word;
                    walk.instructionEnd = end;
                    walk.expectInstruction = false;
                }
                pos = readAssignment(walk, pos);
            }
        } else if (c == '(' || c == ')') {
            walk.parentheses += c == '(' ? 1 : (walk.parentheses > 0 ? -1 : 0);
            ++pos;
        } else if (c == ':' && (pos + 1 >= text.size() || text[pos + 1] != '=')) {
            walk.expectInstruction = true; // after a label, or a CASE's value
            ++pos;
        } else if (isDigitByte(c)) {
            pos = rapidWordEnd(text, pos); // a number such as 9E9: never a name
        } else {
            ++pos;
        }
    }
    if (ended) {
        reportMotion(walk);
    }
}
