#include "robotfiles/krl/program_reader.h"

#include "robotfiles/program_points.h"
#include "robotfiles/scan_text.h"

#include <algorithm>
#include <cstring>

namespace {

// An inline form is a handful of lines; a fold longer than this is a user's
// fold around other statements, whose lines then stand on their own.
constexpr std::size_t maxFoldLines = 64;

bool startsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && equalsNoCase(text.substr(0, start.size()), start);
}

std::size_t nameEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isKrlNameByte(text[pos])) {
        ++pos;
    }
    return pos;
}

// The first ';' outside strings: where a line's comment starts, or npos.
std::size_t commentStart(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '"') {
            const std::size_t quote = text.find('"', pos + 1);
            if (quote == std::string_view::npos) {
                return std::string_view::npos;
            }
            pos = quote;
        } else if (text[pos] == ';') {
            return pos;
        }
    }
    return std::string_view::npos;
}

// The words after ";FOLD" that name an inline form of KUKA's editor: the
// motions and the logic commands, each one statement with its settings.
bool isInlineForm(std::string_view word) {
    return equalsAnyNoCase(word, {"PTP", "LIN", "CIRC", "SPTP", "SLIN", "SCIRC", "WAIT", "WAITFOR",
                                  "OUT", "PULSE", "SYN", "ANOUT", "ANIN"});
}

// Inline forms of the technology packages (arc and spot welding, gluing,
// seam search): kept whole.
bool isTechnologyForm(std::string_view word) {
    return equalsAnyNoCase(word, {"ARCON", "ARCOFF", "ARCSWI", "SPOT", "SPOTPTP", "SPOTLIN", "GLUE",
                                  "GLUEON", "GLUEOFF", "TOUCHSENSE", "SEARCH", "LASER"});
}

// The first word of a fold's header: ";FOLD LIN P1 ..." gives LIN.
std::string_view foldWord(std::string_view text) {
    const std::size_t first = skipBlanks(text, 0);
    const std::size_t start = skipBlanks(text, first + 5);
    return text.substr(start, nameEnd(text, start) - start);
}

bool isFoldStart(std::string_view text) {
    const std::size_t first = skipBlanks(text, 0);
    return startsWithNoCase(text.substr(first), ";FOLD") &&
           (first + 5 >= text.size() || !isKrlNameByte(text[first + 5]));
}

bool isFoldEnd(std::string_view text) {
    return startsWithNoCase(text.substr(skipBlanks(text, 0)), ";ENDFOLD");
}

// The block statements whose every line is kept, and their ends.
bool opensBlock(std::string_view word, WarningCode& code) {
    if (equalsAnyNoCase(word, {"IF", "WHILE", "FOR", "LOOP", "REPEAT", "SWITCH"})) {
        code = WarningCode::logicKept;
        return true;
    }
    if (equalsAnyNoCase(word, {"SPLINE", "PTP_SPLINE"})) {
        code = WarningCode::splineKept;
        return true;
    }
    return false;
}

bool closesBlock(std::string_view word) {
    return equalsAnyNoCase(
        word, {"ENDIF", "ENDWHILE", "ENDFOR", "ENDLOOP", "UNTIL", "ENDSWITCH", "ENDSPLINE"});
}

// The line's first word, after GLOBAL.
std::string_view firstWord(std::string_view text) {
    std::size_t pos = skipBlanks(text, 0);
    std::size_t end = nameEnd(text, pos);
    if (equalsNoCase(text.substr(pos, end - pos), "GLOBAL")) {
        pos = skipBlanks(text, end);
        end = nameEnd(text, pos);
    }
    return text.substr(pos, end - pos);
}

// "name:" alone on its line (a comment may follow): a label for GOTO.
bool labelOf(std::string_view text, std::string_view& label) {
    const std::size_t pos = skipBlanks(text, 0);
    const std::size_t end = nameEnd(text, pos);
    const std::size_t colon = skipBlanks(text, end);
    if (end == pos || colon >= text.size() || text[colon] != ':') {
        return false;
    }
    const std::size_t after = skipBlanks(text, colon + 1);
    if (after < text.size() && text[after] != ';') {
        return false;
    }
    label = text.substr(pos, end - pos);
    return true;
}

// "GOTO name": its label.
bool gotoOf(std::string_view text, std::string_view& label) {
    const std::size_t pos = skipBlanks(text, 0);
    const std::size_t end = nameEnd(text, pos);
    if (!equalsNoCase(text.substr(pos, end - pos), "GOTO")) {
        return false;
    }
    const std::size_t at = skipBlanks(text, end);
    label = text.substr(at, nameEnd(text, at) - at);
    return !label.empty();
}

// ----------------------------------------------------------------- emitting

void emit(const Statement& statement, const ProgramInput& out) {
    if (out.statement) {
        out.statement(statement);
    }
}

// A point the data declares: its statement, and the point for the motions.
void declarePoint(KrlProgramReader& r, const PoseRecord& pose, const SourceLine& line,
                  std::string_view text) {
    startStatement(r.work, StatementKind::pointDeclaration, r.file, line.number, text);
    r.work.key = pose.name;
    pointFromRecord(pose, r.work.point);
    if (r.points != nullptr) {
        addPoint(*r.points, r.work.key, r.work.point);
    }
}

void kept(KrlProgramReader& r, WarningCode code, const SourceLine& line, std::string_view text) {
    keptStatement(r.work, code, r.file, line.number, text);
}

Statement& nextFoldStatement(KrlProgramReader& r) {
    if (r.foldSize == r.fold.size()) {
        r.fold.emplace_back();
    }
    return r.fold[r.foldSize++];
}

// The gathered lines each on their own: the form was none after all.
void releaseFold(KrlProgramReader& r, const ProgramInput& out) {
    r.gathering = false;
    for (std::size_t k = 0; k < r.foldSize; ++k) {
        emit(r.fold[k], out);
    }
    r.foldSize = 0;
}

// A statement of the line, or of the inline form being gathered.
void route(KrlProgramReader& r, const Statement& statement, const ProgramInput& out) {
    if (!r.gathering) {
        emit(statement, out);
        return;
    }
    nextFoldStatement(r) = statement;
    if (r.foldSize > maxFoldLines) {
        releaseFold(r, out);
    }
}

bool isMainKind(StatementKind kind) {
    return kind != StatementKind::blank && kind != StatementKind::comment &&
           kind != StatementKind::structural;
}

bool isTranslatable(StatementKind kind) {
    return kind == StatementKind::motion || kind == StatementKind::waitTime ||
           kind == StatementKind::digitalOutput || kind == StatementKind::waitInput ||
           kind == StatementKind::call;
}

// The inline form's ;ENDFOLD arrived: one statement of all its lines.
void closeFold(KrlProgramReader& r, const ProgramInput& out) {
    std::size_t mains = 0;
    const Statement* main = nullptr;
    const Statement* keptLine = nullptr;
    for (std::size_t k = 0; k < r.foldSize; ++k) {
        const Statement& s = r.fold[k];
        if (!isMainKind(s.kind)) {
            continue;
        }
        ++mains;
        if (s.kind == StatementKind::kept) {
            keptLine = keptLine != nullptr ? keptLine : &s;
        } else if (isTranslatable(s.kind)) {
            main = main != nullptr ? main : &s;
        }
    }
    const bool alone = mains == 1 && main != nullptr;
    const bool withKept = main != nullptr && keptLine != nullptr && mains == 2;
    if (!r.technologyFold && !alone && !withKept) {
        releaseFold(r, out);
        return;
    }
    Statement whole = r.technologyFold ? r.fold[0] : alone ? *main : *keptLine;
    if (r.technologyFold) {
        whole.kind = StatementKind::kept;
        whole.keptCode = WarningCode::technologyKept;
    }
    whole.place.firstLine = r.fold[0].place.firstLine;
    whole.place.lastLine = r.fold[r.foldSize - 1].place.lastLine;
    whole.text.clear();
    std::uint64_t lastLine = 0;
    for (std::size_t k = 0; k < r.foldSize; ++k) {
        const Statement& s = r.fold[k];
        if (k > 0 && s.place.firstLine <= lastLine) {
            continue; // a comment after a statement: the line is there already
        }
        whole.text += k == 0 ? "" : "\n";
        whole.text += s.text;
        lastLine = s.place.lastLine;
    }
    r.gathering = false;
    r.foldSize = 0;
    emit(whole, out);
}

// ----------------------------------------------------------------- statements

// The pose the pose reader found at this byte of the line, or null.
const PoseRecord* poseAt(const KrlProgramReader& r, std::size_t column) {
    for (const PoseRecord& record : r.found) {
        if (record.column == column + 1 && !record.nested) {
            return &record;
        }
    }
    return nullptr;
}

// The point of a motion's argument; false with the code it is kept for.
bool readArgument(KrlProgramReader& r, std::string_view text, const KrlArgument& argument,
                  MotionPoint& point, WarningCode& code) {
    point.key.clear();
    point.point = Point{};
    const std::string_view arg = text.substr(argument.begin, argument.end - argument.begin);
    if (arg.find(':') != std::string_view::npos) {
        code = WarningCode::relativeMotionKept;
        return false;
    }
    if (arg.front() == '{') {
        const PoseRecord* record = poseAt(r, argument.begin);
        if (record == nullptr) {
            code = WarningCode::statementKept;
            return false;
        }
        if (record->role == PoseRole::joint) {
            code = WarningCode::jointTargetKept;
            return false;
        }
        pointFromRecord(*record, point.point);
        point.point.name.clear();
        return true;
    }
    std::size_t end = nameEnd(arg, 0);
    if (end < arg.size() && arg[end] == '[') {
        const std::size_t close = arg.find(']', end);
        end = close == std::string_view::npos ? end : close + 1;
    }
    if (end != arg.size() || end == 0 || isDigitByte(arg[0])) {
        code = WarningCode::variableKept;
        return false;
    }
    if (arg[0] == '$') {
        // $AXIS_ACT, $AXIS_HOME: where the axes are; $POS_ACT and the like.
        code = startsWithNoCase(arg, "$AXIS") ? WarningCode::jointTargetKept
                                              : WarningCode::variableKept;
        return false;
    }
    point.key.assign(arg);
    return true;
}

// What follows a motion's points: its approximation, or what makes it kept.
bool readMotionTail(std::string_view text, std::size_t pos, std::string_view& approximation,
                    WarningCode& code) {
    const std::size_t comment = commentStart(text);
    const std::size_t end = comment == std::string_view::npos ? text.size() : comment;
    approximation = {};
    while (true) {
        pos = skipBlanks(text, pos);
        if (pos < end && text[pos] == ',') {
            ++pos;
            continue;
        }
        if (pos >= end) {
            return true;
        }
        const std::size_t wordStop = nameEnd(text, pos);
        const std::string_view word = text.substr(pos, wordStop - pos);
        if (equalsAnyNoCase(word, {"C_DIS", "C_PTP", "C_VEL", "C_ORI"}) && approximation.empty()) {
            approximation = word;
            pos = wordStop;
            continue;
        }
        code = equalsNoCase(word, "CA") ? WarningCode::circleAngleKept : WarningCode::statementKept;
        return false;
    }
}

void readMotion(KrlProgramReader& r, const SourceLine& line, std::string_view text,
                const KrlLine& kl) {
    if (kl.relative) {
        kept(r, WarningCode::relativeMotionKept, line, text);
        return;
    }
    MotionKind kind = MotionKind::linear;
    int points = 1;
    if (equalsNoCase(kl.keyword, "PTP")) {
        kind = MotionKind::joint;
    } else if (equalsNoCase(kl.keyword, "CIRC")) {
        kind = MotionKind::circular;
        points = 2;
    } else if (!equalsNoCase(kl.keyword, "LIN")) {
        kept(r, WarningCode::splineKept, line, text);
        return;
    }
    if (kl.argumentCount != points) {
        kept(r, WarningCode::statementKept, line, text);
        return;
    }
    startStatement(r.work, StatementKind::motion, r.file, line.number, text);
    Motion& motion = r.work.motion;
    motion.kind = kind;
    WarningCode code = WarningCode::statementKept;
    std::string_view approximation;
    const bool read = readArgument(r, text, kl.arguments[points - 1], motion.target, code) &&
                      (points == 1 || readArgument(r, text, kl.arguments[0], motion.via, code)) &&
                      readMotionTail(text, kl.arguments[points - 1].end, approximation, code);
    if (!read) {
        kept(r, code, line, text);
        return;
    }
    if (points == 1) {
        motion.via = MotionPoint{};
    }
    if (kind != MotionKind::joint && !r.settings.orientationVaries) {
        // $ORI_TYPE #CONSTANT or #JOINT: no other controller turns the tool so.
        kept(r, WarningCode::statementKept, line, text);
        return;
    }
    krlMotionValues(r.settings, approximation, motion);
}

// The pose a declaration or an element's value in data gives, if any.
const PoseRecord* declaredPose(const KrlProgramReader& r) {
    for (const PoseRecord& record : r.found) {
        if (!record.nested && !record.name.empty()) {
            return &record;
        }
    }
    return nullptr;
}

// A declaration in data or code: a point, an inline form's data, or kept.
void readDeclaration(KrlProgramReader& r, const SourceLine& line, std::string_view text,
                     const KrlLine& kl) {
    if (readKrlInlineData(text, r.data)) {
        startStatement(r.work, StatementKind::structural, r.file, line.number, text);
        r.work.structural = StructuralKind::data;
        return;
    }
    const PoseRecord* pose = declaredPose(r);
    if (pose == nullptr) {
        const bool signal = equalsAnyNoCase(kl.keyword, {"SIGNAL", "CHANNEL"});
        kept(r, r.lineTrouble || signal ? WarningCode::statementKept : WarningCode::variableKept,
             line, text);
        return;
    }
    switch (pose->role) {
    case PoseRole::position:
    case PoseRole::joint:
        declarePoint(r, *pose, line, text);
        return;
    case PoseRole::frame:
        kept(r, WarningCode::frameDefinitionKept, line, text);
        return;
    case PoseRole::offset:
        kept(r, WarningCode::relativeMotionKept, line, text);
        return;
    default:
        kept(r, WarningCode::variableKept, line, text);
        return;
    }
}

// TRUE or FALSE, the value of an output.
bool truthWord(std::string_view word, bool& state) {
    word = trimmedText(word);
    if (equalsNoCase(word, "TRUE")) {
        state = true;
        return true;
    }
    if (equalsNoCase(word, "FALSE")) {
        state = false;
        return true;
    }
    return false;
}

// $OUT[n] or $IN[n] normalised ($out[ 3] -> $OUT[3]), or a signal's name.
bool signalWord(std::string_view word, std::string_view io, std::string& signal) {
    word = trimmedText(word);
    if (word.empty()) {
        return false;
    }
    if (word[0] == '$') {
        if (!startsWithNoCase(word, io)) {
            return false;
        }
        const std::string_view rest = trimmedText(word.substr(io.size()));
        if (rest.size() < 3 || rest.front() != '[' || rest.back() != ']') {
            return false;
        }
        const std::string_view digits = trimmedText(rest.substr(1, rest.size() - 2));
        if (digits.empty() || digits.size() > 6 ||
            !std::all_of(digits.begin(), digits.end(), isDigitByte)) {
            return false;
        }
        signal = std::string(io) + "[" + std::string(digits) + "]";
        std::transform(
            signal.begin(), signal.begin() + static_cast<std::ptrdiff_t>(io.size()), signal.begin(),
            [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; });
        return true;
    }
    if (isDigitByte(word[0]) || nameEnd(word, 0) != word.size()) {
        return false;
    }
    signal.assign(word);
    return true;
}

// "$OUT[3] = TRUE", "gripClose = FALSE": an output switched.
bool readOutput(KrlProgramReader& r, const SourceLine& line, std::string_view text,
                const KrlLine& kl) {
    std::string_view value = text.substr(kl.equalsAt + 1);
    value = value.substr(0, commentStart(value));
    bool state = false;
    std::string signal;
    if (!truthWord(value, state) || !signalWord(kl.assigned, "$OUT", signal)) {
        return false;
    }
    startStatement(r.work, StatementKind::digitalOutput, r.file, line.number, text);
    r.work.signal = std::move(signal);
    r.work.state = state;
    return true;
}

// The text inside the parentheses after `pos`, or false.
bool parenthesised(std::string_view text, std::size_t pos, std::string_view& inside) {
    pos = skipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != '(') {
        return false;
    }
    const std::size_t close = text.rfind(')');
    if (close == std::string_view::npos || close < pos) {
        return false;
    }
    inside = text.substr(pos + 1, close - pos - 1);
    return true;
}

// The comma-separated parts of an argument list (no nesting in the forms read).
std::size_t splitArguments(std::string_view inside, std::string_view* parts, std::size_t most) {
    std::size_t count = 0;
    while (count < most) {
        const std::size_t comma = inside.find(',');
        parts[count++] = trimmedText(inside.substr(0, comma));
        if (comma == std::string_view::npos) {
            return count;
        }
        inside.remove_prefix(comma + 1);
    }
    return count + 1; // more than expected
}

// PULSE($OUT[n], TRUE, 0.5).
bool readPulse(KrlProgramReader& r, const SourceLine& line, std::string_view text,
               const KrlLine& kl) {
    std::string_view inside;
    const std::size_t at =
        static_cast<std::size_t>(kl.keyword.data() - text.data()) + kl.keyword.size();
    const std::size_t comment = commentStart(text);
    if (!parenthesised(text.substr(0, comment), at, inside)) {
        return false;
    }
    std::string_view parts[3];
    bool state = false;
    double seconds = 0.0;
    std::string signal;
    if (splitArguments(inside, parts, 3) != 3 || !signalWord(parts[0], "$OUT", signal) ||
        !truthWord(parts[1], state) || !readSeconds(parts[2], seconds)) {
        return false;
    }
    startStatement(r.work, StatementKind::digitalOutput, r.file, line.number, text);
    r.work.signal = std::move(signal);
    r.work.state = state;
    r.work.pulse = true;
    r.work.seconds = seconds;
    return true;
}

// WAIT SEC t, WAIT FOR $IN[n], WAIT FOR NOT name, WAIT FOR $IN[n] == TRUE.
bool readWait(KrlProgramReader& r, const SourceLine& line, std::string_view text, const KrlLine& kl,
              WarningCode& code) {
    std::size_t pos = static_cast<std::size_t>(kl.keyword.data() - text.data()) + kl.keyword.size();
    std::string_view rest = text.substr(pos);
    rest = trimmedText(rest.substr(0, commentStart(rest)));
    const std::size_t wordStop = nameEnd(rest, 0);
    const std::string_view word = rest.substr(0, wordStop);
    rest = trimmedText(rest.substr(wordStop));
    code = WarningCode::variableKept;
    if (equalsNoCase(word, "SEC")) {
        double seconds = 0.0;
        if (!readSeconds(rest, seconds)) {
            return false;
        }
        startStatement(r.work, StatementKind::waitTime, r.file, line.number, text);
        r.work.seconds = seconds;
        return true;
    }
    if (!equalsNoCase(word, "FOR")) {
        code = WarningCode::statementKept;
        return false;
    }
    bool state = true;
    if (startsWithNoCase(rest, "NOT") && rest.size() > 3 && !isKrlNameByte(rest[3])) {
        state = false;
        rest = trimmedText(rest.substr(3));
    }
    const std::size_t equals = rest.find("==");
    std::string_view signalText = rest;
    if (equals != std::string_view::npos) {
        bool compared = true;
        if (!truthWord(rest.substr(equals + 2), compared)) {
            return false;
        }
        state = state == compared;
        signalText = rest.substr(0, equals);
    }
    std::string signal;
    if (!signalWord(signalText, "$IN", signal)) {
        return false;
    }
    startStatement(r.work, StatementKind::waitInput, r.file, line.number, text);
    r.work.signal = std::move(signal);
    r.work.state = state;
    return true;
}

// name( ): a call without arguments; with arguments it is kept.
bool readCall(KrlProgramReader& r, const SourceLine& line, std::string_view text, const KrlLine& kl,
              WarningCode& code) {
    const std::size_t at =
        static_cast<std::size_t>(kl.keyword.data() - text.data()) + kl.keyword.size();
    std::string_view code_text = text.substr(0, commentStart(text));
    std::string_view inside;
    if (!parenthesised(code_text, at, inside) ||
        !trimmedText(code_text.substr(code_text.rfind(')') + 1)).empty() || kl.keyword.empty() ||
        kl.keyword[0] == '$') {
        code = WarningCode::statementKept;
        return false;
    }
    if (!trimmedText(inside).empty()) {
        code = WarningCode::callArgumentsKept;
        return false;
    }
    startStatement(r.work, StatementKind::call, r.file, line.number, text);
    r.work.name.assign(kl.keyword);
    return true;
}

// Every other statement: logic, waits, outputs, calls, BAS and the rest.
void readOther(KrlProgramReader& r, const SourceLine& line, std::string_view text,
               const KrlLine& kl) {
    const std::string_view word = firstWord(text);
    WarningCode code = WarningCode::statementKept;
    if (opensBlock(word, code)) {
        r.keptDepth = 1;
        r.keptCode = code;
        kept(r, code, line, text);
        return;
    }
    std::string_view label;
    if (closesBlock(word) || gotoOf(text, label) || labelOf(text, label) ||
        equalsAnyNoCase(word, {"ELSE", "CASE", "DEFAULT", "EXIT"})) {
        kept(r, WarningCode::logicKept, line, text);
        return;
    }
    if (equalsAnyNoCase(word, {"INTERRUPT", "TRIGGER", "CONTINUE", "BRAKE", "RESUME"})) {
        kept(r, WarningCode::triggerKept, line, text);
        return;
    }
    if (equalsNoCase(word, "WAIT")) {
        if (!readWait(r, line, text, kl, code)) {
            kept(r, code, line, text);
        }
        return;
    }
    if (equalsNoCase(word, "PULSE")) {
        if (!readPulse(r, line, text, kl)) {
            kept(r, WarningCode::statementKept, line, text);
        }
        return;
    }
    if (equalsAnyNoCase(word, {"EXT", "EXTFCT", "EXTP", "IMPORT", "HALT", "RETURN"})) {
        kept(r, WarningCode::statementKept, line, text);
        return;
    }
    if (!readCall(r, line, text, kl, code)) {
        kept(r, code, line, text);
    }
}

void readAssignment(KrlProgramReader& r, const SourceLine& line, std::string_view text,
                    const KrlLine& kl) {
    const PoseRecord* pose = declaredPose(r);
    if (r.poses.inData && pose != nullptr && pose->role == PoseRole::position) {
        // An element of an array of points given its value in the .dat.
        declarePoint(r, *pose, line, text);
        return;
    }
    if (readOutput(r, line, text, kl)) {
        return;
    }
    if (startsWithNoCase(kl.assigned, "BASE_DATA") || startsWithNoCase(kl.assigned, "TOOL_DATA") ||
        startsWithNoCase(kl.assigned, "LOAD_DATA") || startsWithNoCase(kl.assigned, "MACHINE_") ||
        equalsNoCase(kl.assigned, "$LOAD") || startsWithNoCase(kl.assigned, "$BASE.") ||
        startsWithNoCase(kl.assigned, "$TOOL.")) {
        kept(r, WarningCode::frameDefinitionKept, line, text);
        return;
    }
    kept(r, WarningCode::variableKept, line, text);
}

// A routine's head: "DEF name( )" starts one; with parameters, or a
// function, every line up to its end is kept.
void readRoutineStart(KrlProgramReader& r, const SourceLine& line, std::string_view text) {
    std::size_t pos = skipBlanks(text, 0);
    std::size_t end = nameEnd(text, pos);
    if (equalsNoCase(text.substr(pos, end - pos), "GLOBAL")) {
        pos = skipBlanks(text, end);
        end = nameEnd(text, pos);
    }
    const bool function = equalsNoCase(text.substr(pos, end - pos), "DEFFCT");
    pos = skipBlanks(text, end);
    if (function) {
        // DEFFCT TYPE name(...): the type comes first.
        pos = skipBlanks(text, nameEnd(text, pos));
    }
    const std::size_t nameStop = nameEnd(text, pos);
    const std::string_view name = text.substr(pos, nameStop - pos);
    std::string_view inside;
    const bool parameters = !parenthesised(text.substr(0, commentStart(text)), nameStop, inside) ||
                            !trimmedText(inside).empty();
    resetKrlSettings(r.settings);
    if (function || parameters || name.empty()) {
        r.keptRoutine = true;
        r.keptCode = function ? WarningCode::statementKept : WarningCode::callArgumentsKept;
        kept(r, r.keptCode, line, text);
        return;
    }
    startStatement(r.work, StatementKind::routineStart, r.file, line.number, text);
    r.work.name.assign(name);
    r.work.main = krlNameKey(name) == r.mainKey;
}

// A line inside a kept block or routine, or between a jump and its label:
// kept, and what it sets no longer known for sure.
void readKeptLine(KrlProgramReader& r, const SourceLine& line, std::string_view text,
                  const KrlLine& kl, WarningCode code) {
    applyKrlSetting(r.settings, r.data, text, kl, true);
    const std::string_view word = firstWord(text);
    WarningCode opened = code;
    if (r.keptRoutine) {
        if (kl.kind == KrlLineKind::routineEnd) {
            r.keptRoutine = false;
        }
    } else if (r.keptDepth > 0) {
        if (opensBlock(word, opened)) {
            ++r.keptDepth;
        } else if (closesBlock(word)) {
            --r.keptDepth;
        }
    } else if (opensBlock(word, opened)) {
        r.keptDepth = 1;
        r.keptCode = code;
    }
    kept(r, code, line, text);
}

void readLine(KrlProgramReader& r, const SourceLine& line, std::string_view text,
              const KrlLine& kl) {
    const bool region = inRegion(r.regions, line.number);
    if (kl.kind == KrlLineKind::routineEnd && !r.keptRoutine) {
        r.keptDepth = 0; // a block left open ends with its routine
    }
    if (r.keptRoutine || r.keptDepth > 0 || region) {
        const WarningCode code =
            r.keptRoutine || r.keptDepth > 0 ? r.keptCode : WarningCode::logicKept;
        readKeptLine(r, line, text, kl, code);
        return;
    }
    if (r.lineTrouble && kl.kind != KrlLineKind::declaration) {
        kept(r, WarningCode::statementKept, line, text);
        return;
    }
    switch (kl.kind) {
    case KrlLineKind::blank:
        break; // handled by the caller
    case KrlLineKind::header:
    case KrlLineKind::dataStart:
    case KrlLineKind::dataEnd:
        startStatement(r.work, StatementKind::structural, r.file, line.number, text);
        return;
    case KrlLineKind::routineStart:
        readRoutineStart(r, line, text);
        return;
    case KrlLineKind::routineEnd:
        if (equalsNoCase(firstWord(text), "END")) {
            startStatement(r.work, StatementKind::routineEnd, r.file, line.number, text);
        } else {
            kept(r, WarningCode::statementKept, line, text);
        }
        return;
    case KrlLineKind::declaration:
        readDeclaration(r, line, text, kl);
        return;
    case KrlLineKind::motion:
        readMotion(r, line, text, kl);
        return;
    case KrlLineKind::assignment:
    case KrlLineKind::other:
        break;
    }
    switch (applyKrlSetting(r.settings, r.data, text, kl, false)) {
    case KrlSettingKind::setting:
        startStatement(r.work, StatementKind::structural, r.file, line.number, text);
        r.work.structural = StructuralKind::setting;
        return;
    case KrlSettingKind::frameDefinition:
        kept(r, WarningCode::frameDefinitionKept, line, text);
        return;
    case KrlSettingKind::unreadable:
        kept(r, WarningCode::variableKept, line, text);
        return;
    case KrlSettingKind::none:
        break;
    }
    if (kl.kind == KrlLineKind::assignment) {
        readAssignment(r, line, text, kl);
    } else {
        readOther(r, line, text, kl);
    }
}

// A line that holds only a comment, or a fold's marker.
void readCommentLine(KrlProgramReader& r, const SourceLine& line, std::string_view text,
                     const ProgramInput& out) {
    const bool foldStart = isFoldStart(text);
    if (r.keptRoutine || r.keptDepth > 0 || inRegion(r.regions, line.number)) {
        kept(r, r.keptRoutine || r.keptDepth > 0 ? r.keptCode : WarningCode::logicKept, line, text);
        route(r, r.work, out);
        return;
    }
    // The KUKA editor's folds are its own structure, like &ACCESS: their
    // markers are structural, their lines statements of their own.
    const bool marker = foldStart || isFoldEnd(text);
    startStatement(r.work, marker ? StatementKind::structural : StatementKind::comment, r.file,
                   line.number, text);
    if (!marker) {
        r.work.comment.assign(trimmedText(text.substr(skipBlanks(text, 0) + 1)));
    }
    if (r.gathering) {
        r.foldDepth += foldStart ? 1 : isFoldEnd(text) ? -1 : 0;
        if (r.foldDepth == 0) {
            nextFoldStatement(r) = r.work;
            closeFold(r, out);
        } else {
            route(r, r.work, out);
        }
        return;
    }
    if (foldStart) {
        const std::string_view word = foldWord(text);
        if (isInlineForm(word) || isTechnologyForm(word)) {
            r.gathering = true;
            r.foldDepth = 1;
            r.technologyFold = isTechnologyForm(word);
            r.foldSize = 0;
            nextFoldStatement(r) = r.work;
            return;
        }
    }
    emit(r.work, out);
}

void gatherPoses(KrlProgramReader& r, const SourceLine& line, const ProgramInput& out) {
    r.found.clear();
    r.lineTrouble = false;
    ScanCallbacks callbacks;
    callbacks.pose = [&r](const PoseRecord& record) { r.found.push_back(record); };
    callbacks.warning = [&](const ScanWarning& warning) {
        if (warning.note) {
            return;
        }
        r.lineTrouble = true;
        if (out.warning) {
            out.warning(r.file, warning);
        }
    };
    readKrlLine(r.poses, line, callbacks);
}

} // namespace

void startKrlProgramReader(KrlProgramReader& reader, PointTable& points,
                           std::string_view mainRoutine, std::size_t fileCount) {
    reader = KrlProgramReader{};
    reader.points = &points;
    reader.mainKey = krlNameKey(mainRoutine);
    reader.jumps.resize(fileCount);
}

void noteKrlProgramLine(KrlProgramReader& reader, std::uint32_t file, std::string_view fileName,
                        const SourceLine& line) {
    if (line.overlong || file >= reader.jumps.size()) {
        return;
    }
    if (isKrlCodeFile(fileName)) {
        noteKrlUsage(reader.usage, line);
    }
    const std::string_view text = withoutLineEnd(line.text);
    const std::size_t first = skipBlanks(text, 0);
    if (first >= text.size() || text[first] == ';') {
        return;
    }
    std::string_view label;
    // Only a GOTO starts with 'g', only a label holds a ':' before a comment.
    if ((lowerByte(text[first]) == 'g' && gotoOf(text, label))) {
        noteJump(reader.jumps[file], krlNameKey(label), line.number);
    } else if (std::memchr(text.data(), ':', text.size()) != nullptr && labelOf(text, label)) {
        noteLabel(reader.jumps[file], krlNameKey(label), line.number);
    }
}

void startKrlProgramFile(KrlProgramReader& reader, std::uint32_t file, std::string_view fileName) {
    reader.file = file;
    reader.poses = KrlReader{};
    startKrl(reader.poses, fileName, &reader.usage);
    reader.dataFile = !isKrlCodeFile(fileName);
    reader.regions = file < reader.jumps.size() ? regionsOf(reader.jumps[file]) : LineRegions{};
    reader.keptDepth = 0;
    reader.keptRoutine = false;
    reader.gathering = false;
    reader.foldSize = 0;
    resetKrlSettings(reader.settings);
}

void readKrlProgramLine(KrlProgramReader& r, const SourceLine& line, const ProgramInput& out) {
    const std::string_view text = line.overlong ? std::string_view() : withoutLineEnd(line.text);
    gatherPoses(r, line, out);
    const std::size_t first = skipBlanks(text, 0);
    if (line.overlong) {
        kept(r, WarningCode::statementKept, line, "");
        route(r, r.work, out);
        return;
    }
    if (first >= text.size()) {
        startStatement(r.work, StatementKind::blank, r.file, line.number, text);
        route(r, r.work, out);
        return;
    }
    if (text[first] == ';') {
        readCommentLine(r, line, text, out);
        return;
    }
    const KrlLine kl = classifyKrlLine(text);
    readLine(r, line, text, kl);
    route(r, r.work, out);
    // A comment after the statement: its own statement of the same line,
    // unless the line is kept (its comment is in the kept text).
    const std::size_t comment = commentStart(text);
    if (comment != std::string_view::npos && r.work.kind != StatementKind::kept) {
        startStatement(r.comment, StatementKind::comment, r.file, line.number, text);
        r.comment.comment.assign(trimmedText(text.substr(comment + 1)));
        route(r, r.comment, out);
    }
}

void finishKrlProgramFile(KrlProgramReader& reader, const ProgramInput& out) {
    if (reader.gathering) {
        releaseFold(reader, out);
    }
    finishKrl(reader.poses, ScanCallbacks{});
}
