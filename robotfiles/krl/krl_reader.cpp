#include "robotfiles/krl/krl_reader.h"

#include "robotfiles/scan_text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

std::size_t nameEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isKrlNameByte(text[pos])) {
        ++pos;
    }
    return pos;
}

const char* knownType(std::string_view word) {
    for (const char* known : {"E6POS", "POS", "FRAME", "E6AXIS", "AXIS"}) {
        if (equalsNoCase(word, known)) {
            return known;
        }
    }
    return nullptr;
}

// What the start of a line declares: "[DECL] [GLOBAL] [CONST] TYPE name [=]",
// the keywords in any order and any case, DECL optional as data lists allow.
struct Declaration {
    bool present = false;       // a value is given: "... name = value"
    bool array = false;         // an array declared without a value: "... name[7]"
    const char* type = nullptr; // E6POS, POS, FRAME, E6AXIS or AXIS; null for any other type
    std::string_view name;
};

Declaration readDeclaration(std::string_view text, std::size_t pos) {
    Declaration declaration;
    bool keyword = false;
    for (int words = 0; words < 4; ++words) {
        const std::size_t wordEnd = nameEnd(text, pos);
        const std::string_view word = text.substr(pos, wordEnd - pos);
        if (word.empty()) {
            return declaration;
        }
        pos = skipBlanks(text, wordEnd);
        if (equalsNoCase(word, "DECL") || equalsNoCase(word, "GLOBAL") ||
            equalsNoCase(word, "CONST")) {
            keyword = true;
            continue;
        }
        // word is the type when a name follows.
        const std::size_t nameAt = pos;
        std::size_t after = nameEnd(text, pos);
        if (after == pos) {
            return declaration;
        }
        declaration.name = text.substr(nameAt, after - nameAt);
        bool indexed = false;
        if (after < text.size() && text[after] == '[') {
            const void* close = std::memchr(text.data() + after, ']', text.size() - after);
            if (close == nullptr) {
                return declaration;
            }
            after = static_cast<std::size_t>(static_cast<const char*>(close) - text.data()) + 1;
            indexed = true;
        }
        after = skipBlanks(text, after);
        declaration.type = knownType(word);
        if (after < text.size() && text[after] == '=') {
            declaration.present = true;
        } else if (keyword && indexed) {
            declaration.array = true;
        }
        return declaration;
    }
    return declaration;
}

// The variable an aggregate at text[open] is assigned to ("XP1",
// "TOOL_DATA[1]", "$TOOL"), or empty for a value inline in a statement
// (LIN {...}, pos[2]:{...}, a comparison).
std::string_view assignedName(std::string_view text, std::size_t open) {
    std::size_t pos = open;
    while (pos > 0 && isBlankByte(text[pos - 1])) {
        --pos;
    }
    if (pos == 0 || text[pos - 1] != '=') {
        return {};
    }
    std::size_t equals = pos - 1;
    if (equals > 0 &&
        (text[equals - 1] == '=' || text[equals - 1] == '<' || text[equals - 1] == '>')) {
        return {};
    }
    std::size_t end = equals;
    while (end > 0 && isBlankByte(text[end - 1])) {
        --end;
    }
    std::size_t start = end;
    while (start > 0) {
        const char c = text[start - 1];
        if (isKrlNameByte(c) || c == '.') {
            --start;
        } else if (c == ']') {
            const std::size_t bracket = text.rfind('[', start - 1);
            if (bracket == std::string_view::npos) {
                break;
            }
            start = bracket;
        } else {
            break;
        }
    }
    return text.substr(start, end - start);
}

bool startsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && equalsNoCase(text.substr(0, start.size()), start);
}

// A tool, base, load or machine datum, or any system variable: the names
// of frames rather than of taught positions.
bool isFrameName(std::string_view name) {
    return startsWithNoCase(name, "$") || startsWithNoCase(name, "TOOL_DATA") ||
           startsWithNoCase(name, "BASE_DATA") || startsWithNoCase(name, "LOAD_DATA") ||
           startsWithNoCase(name, "MACHINE_");
}

bool isZero(const PoseRecord& record) {
    for (const PoseMember& member : record.values) {
        if (member.value != 0.0) {
            return false;
        }
    }
    return !record.values.empty();
}

// The byte before pos that is not blank, or '\0'.
char byteBefore(std::string_view text, std::size_t pos) {
    while (pos > 0 && isBlankByte(text[pos - 1])) {
        --pos;
    }
    return pos > 0 ? text[pos - 1] : '\0';
}

// The byte at or after pos that is not blank, or '\0'.
char byteAfter(std::string_view text, std::size_t pos) {
    pos = skipBlanks(text, pos);
    return pos < text.size() ? text[pos] : '\0';
}

// Where an aggregate stands in its line, and what the line is.
struct Place {
    std::string_view text;
    std::size_t open = 0; // its '{'
    std::size_t end = 0;  // just past its '}'
    const KrlLine& line;
    const Declaration& declaration;
};

// A declaration in data, or a value given to an array's element there.
PoseRole dataRole(const KrlReader& reader, const PoseRecord& record, const char* type) {
    const std::uint8_t use = reader.usage != nullptr ? reader.usage->of(record.name) : 0;
    if ((use & KrlUsage::relative) != 0) {
        return (use & KrlUsage::target) != 0 ? PoseRole::undecided : PoseRole::offset;
    }
    if (isFrameName(record.name)) {
        return PoseRole::frame;
    }
    if (!reader.inData) {
        // A start value in code: a routine's own variable.
        return isZero(record) ? PoseRole::initialisation : PoseRole::assignment;
    }
    // A FRAME is a position only where a motion goes to it; otherwise it is
    // a base or a tool kept in the program's data.
    if (type != nullptr && std::strcmp(type, "FRAME") == 0) {
        return (use & KrlUsage::target) != 0 ? PoseRole::position : PoseRole::frame;
    }
    return PoseRole::position;
}

PoseRole roleOf(const KrlReader& reader, const Place& place, const PoseRecord& record) {
    if (record.role == PoseRole::joint) {
        return PoseRole::joint;
    }
    if (reader.configDat || record.nested) {
        return PoseRole::frame;
    }
    // Either operand of the geometric operator is relative to the other.
    if (byteBefore(place.text, place.open) == ':' || byteAfter(place.text, place.end) == ':') {
        return PoseRole::offset;
    }
    const KrlLine& line = place.line;
    if (line.kind == KrlLineKind::declaration && place.declaration.present) {
        return dataRole(reader, record, place.declaration.type);
    }
    if (line.kind == KrlLineKind::motion) {
        for (int k = 0; k < line.argumentCount; ++k) {
            if (line.arguments[k].begin == place.open && line.arguments[k].end == place.end) {
                return line.relative ? PoseRole::offset : PoseRole::position;
            }
        }
        return PoseRole::undecided;
    }
    const char after = byteAfter(place.text, place.end);
    if (line.kind == KrlLineKind::assignment && !record.name.empty() &&
        (after == '\0' || after == ';')) {
        if (reader.inData) {
            const auto found = reader.arrayTypes.find(krlNameKey(record.name));
            return dataRole(reader, record,
                            found != reader.arrayTypes.end() ? found->second : nullptr);
        }
        if (isFrameName(record.name)) {
            return PoseRole::frame;
        }
        if (isZero(record)) {
            return PoseRole::initialisation;
        }
        const std::uint8_t use = reader.usage != nullptr ? reader.usage->of(record.name) : 0;
        return (use & KrlUsage::relative) != 0 ? PoseRole::offset : PoseRole::assignment;
    }
    return PoseRole::undecided;
}

std::string undecidedMessage(const KrlLine& line, const PoseRecord& record) {
    std::string what = record.name.empty() ? std::string("an inline pose") : record.name;
    std::string statement = line.keyword.empty() ? std::string("this statement")
                                                 : "a " + std::string(line.keyword) + " statement";
    return what + " in " + statement +
           ": not a motion's target, a declaration nor an assignment; left alone";
}

void report(const KrlReader& reader, const Place& place, const SourceLine& source, KrlFinds& finds,
            const ScanCallbacks& out) {
    for (std::size_t i = 0; i < finds.count; ++i) {
        if (finds.listed[i] == 0) {
            continue;
        }
        PoseRecord& record = finds.records[i];
        record.role = roleOf(reader, place, record);
        if (record.role == PoseRole::undecided && out.warning) {
            out.warning(ScanWarning{source.number, record.column,
                                    undecidedMessage(place.line, record), true});
        }
        if (out.pose) {
            out.pose(record);
        }
    }
}

void warn(const KrlFinds& finds, const SourceLine& line, const ScanCallbacks& out) {
    if (finds.poseLike && out.warning) {
        out.warning(ScanWarning{line.number, finds.troublePos + 1, krlTroubleMessage(finds)});
    }
}

bool hasExtension(std::string_view name, std::string_view extension) {
    return name.size() > extension.size() &&
           equalsNoCase(name.substr(name.size() - extension.size()), extension);
}

// A line without an aggregate may still change what the next lines are:
// DEF, DEFDAT, END, ENDDAT, or an array's declaration. Their first words
// start with these letters; every other line is passed over at once.
bool mayChangeContext(std::string_view text) {
    const std::size_t first = skipBlanks(text, 0);
    if (first >= text.size()) {
        return false;
    }
    const char c = lowerByte(text[first]);
    return c == 'd' || c == 'e' || c == 'g' || c == 'p';
}

void noteContext(KrlReader& reader, const KrlLine& line, std::string_view text) {
    switch (line.kind) {
    case KrlLineKind::dataStart:
        reader.inData = true;
        reader.sawDefdat = true;
        break;
    case KrlLineKind::dataEnd:
        reader.inData = false;
        break;
    case KrlLineKind::routineStart:
        reader.inData = false;
        reader.sawDef = true;
        break;
    case KrlLineKind::routineEnd:
        break;
    case KrlLineKind::declaration: {
        const Declaration declaration = readDeclaration(text, skipBlanks(text, 0));
        if (declaration.array) {
            reader.arrayTypes[krlNameKey(declaration.name)] =
                declaration.type != nullptr ? declaration.type : "";
        }
        break;
    }
    default:
        break;
    }
}

// "BASE_DATA[n]" for base n, "$WORLD" for base 0, as the frame of a motion.
std::string baseName(std::string_view number) {
    number = number.substr(0, std::min<std::size_t>(number.size(), 12));
    return number == "0" ? std::string("$WORLD") : "BASE_DATA[" + std::string(number) + "]";
}

// The digits that follow `marker` in text, or empty.
std::string_view numberAfter(std::string_view text, std::string_view marker) {
    std::size_t at = 0;
    for (; at + marker.size() <= text.size(); ++at) {
        if (equalsNoCase(text.substr(at, marker.size()), marker)) {
            break;
        }
    }
    if (at + marker.size() > text.size()) {
        return {};
    }
    std::size_t pos = at + marker.size();
    while (pos < text.size() && (isBlankByte(text[pos]) || text[pos] == ',')) {
        ++pos;
    }
    const std::size_t digits = pos;
    while (pos < text.size() && isDigitByte(text[pos])) {
        ++pos;
    }
    return text.substr(digits, pos - digits);
}

// What a line says of the motions: the base it selects, or a motion with
// its points, each handed on with the base in force.
void noteMotion(KrlReader& reader, const KrlLine& statement, std::string_view text,
                const SourceLine& line, const ScanCallbacks& out) {
    const std::size_t first = skipBlanks(text, 0);
    if (first < text.size() && text[first] == ';') {
        // An inline form: ";FOLD LIN P1 Vel=2 m/s CPDAT1 Tool[1] Base[2];%{PE}".
        if (startsWithNoCase(text.substr(first), ";FOLD")) {
            const std::string_view base = numberAfter(text, "Base[");
            if (!base.empty()) {
                reader.foldBase = baseName(base);
            }
        }
        return;
    }
    if (statement.kind == KrlLineKind::assignment && equalsNoCase(statement.assigned, "$BASE")) {
        std::size_t end = text.find(';', statement.equalsAt);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view value = text.substr(statement.equalsAt + 1, end - statement.equalsAt - 1);
        const std::size_t start = skipBlanks(value, 0);
        std::size_t stop = value.size();
        while (stop > start && isBlankByte(value[stop - 1])) {
            --stop;
        }
        value = value.substr(start, stop - start);
        reader.base = equalsNoCase(value, "$NULLFRAME") || equalsNoCase(value, "$WORLD")
                          ? std::string("$WORLD")
                          : std::string(value.substr(0, 64));
        return;
    }
    if (statement.kind == KrlLineKind::other && startsWithNoCase(statement.keyword, "BAS")) {
        const std::string_view base = numberAfter(text, "#BASE");
        if (!base.empty()) {
            reader.base = baseName(base);
        }
        return;
    }
    if (statement.kind != KrlLineKind::motion || statement.relative) {
        return;
    }
    const std::string frame = !reader.foldBase.empty() ? reader.foldBase : reader.base;
    reader.foldBase.clear();
    for (int k = 0; k < statement.argumentCount; ++k) {
        const KrlArgument& argument = statement.arguments[k];
        MotionVisit visit;
        visit.line = line.number;
        visit.frame = frame;
        visit.auxiliary = statement.argumentCount == 2 && k == 0;
        if (text[argument.begin] == '{') {
            visit.offset = line.offset + argument.begin;
        } else {
            // The point's name as the declarations name it: up to an operator.
            std::size_t end = argument.begin;
            int depth = 0;
            while (end < argument.end &&
                   (depth > 0 || (text[end] != ':' && !isBlankByte(text[end])))) {
                depth += text[end] == '[' ? 1 : text[end] == ']' ? -1 : 0;
                ++end;
            }
            visit.target.assign(text.substr(argument.begin, end - argument.begin));
        }
        out.motion(visit);
    }
}

} // namespace

void startKrl(KrlReader& reader, std::string_view fileName, const KrlUsage* usage) {
    reader.configDat = equalsNoCase(fileName, "$config.dat");
    reader.dataFile = hasExtension(fileName, ".dat");
    reader.codeFile = hasExtension(fileName, ".src") || hasExtension(fileName, ".sub");
    reader.inData = reader.dataFile;
    reader.usage = usage;
}

void readKrlLine(KrlReader& reader, const SourceLine& line, const ScanCallbacks& out) {
    reader.lineEnd = line.offset + line.text.size();
    if (line.overlong) {
        return;
    }
    const std::string_view text = withoutLineEnd(line.text);
    // Most lines of a program hold no aggregate at all.
    const bool aggregate = std::memchr(text.data(), '{', text.size()) != nullptr;
    if (!aggregate && !out.motion) {
        if (mayChangeContext(text)) {
            noteContext(reader, classifyKrlLine(text), text);
        }
        return;
    }
    const KrlLine statement = classifyKrlLine(text);
    if (out.motion) {
        noteMotion(reader, statement, text, line, out);
    }
    if (!aggregate) {
        noteContext(reader, statement, text);
        return;
    }
    if (statement.kind == KrlLineKind::header) {
        return; // &ACCESS, &PARAM
    }
    noteContext(reader, statement, text);
    std::size_t pos = skipBlanks(text, 0);
    const Declaration declaration = readDeclaration(text, pos);
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ';') {
            return; // the rest is a comment, whatever bytes it holds
        }
        if (c == '"') {
            const void* close = std::memchr(text.data() + pos + 1, '"', text.size() - pos - 1);
            if (close == nullptr) {
                return;
            }
            pos = static_cast<std::size_t>(static_cast<const char*>(close) - text.data()) + 1;
            continue;
        }
        if (c != '{') {
            ++pos;
            continue;
        }
        KrlContext context;
        context.name = assignedName(text, pos);
        if (!context.name.empty() && declaration.present) {
            context.declaredType = declaration.type;
            context.otherDeclaration = declaration.type == nullptr;
        } else if (!context.name.empty() && reader.inData) {
            // An element of an array declared earlier takes its type.
            const auto found = reader.arrayTypes.find(krlNameKey(context.name));
            if (found != reader.arrayTypes.end()) {
                context.declaredType = *found->second != '\0' ? found->second : nullptr;
                context.otherDeclaration = *found->second == '\0';
            }
        }
        std::size_t end = pos;
        if (!readKrlAggregate(text, pos, context, line, reader.finds, end)) {
            // The statement is lost; the next line is read afresh.
            warn(reader.finds, line, out);
            return;
        }
        report(reader, Place{text, pos, end, statement, declaration}, line, reader.finds, out);
        pos = end;
    }
}

void finishKrl(KrlReader& reader, const ScanCallbacks& out) {
    if (!out.warning) {
        return;
    }
    if (reader.dataFile && !reader.configDat && !reader.sawDefdat) {
        out.warning(ScanWarning{1, 1, "not a KRL data file: no DEFDAT", true});
    } else if (reader.codeFile && !reader.sawDef) {
        out.warning(ScanWarning{1, 1, "not a KRL program: no DEF", true});
    }
}

std::uint64_t krlPendingOffset(const KrlReader& reader) {
    return reader.lineEnd;
}
