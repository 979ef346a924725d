#include "robotfiles/rapid/program_reader.h"

#include "robotfiles/program_points.h"
#include "robotfiles/rapid/rapid_values.h"
#include "robotfiles/scan_text.h"

#include <algorithm>

namespace {

bool startsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && equalsNoCase(text.substr(0, start.size()), start);
}

// A name, or an element of an array: p10, pStack{2}, tool1.
bool isNameText(std::string_view text) {
    if (text.empty() || !isLetterByte(text[0])) {
        return false;
    }
    std::size_t end = rapidWordEnd(text, 0);
    if (end < text.size() && text[end] == '{') {
        const std::size_t close = text.find('}', end);
        if (close == std::string_view::npos || text.find_first_of("[(\"!", end) < close) {
            return false;
        }
        end = close + 1;
    }
    return end == text.size();
}

// The type and name of a declaration "[LOCAL|TASK] CONST|PERS|VAR type name ...".
bool declarationOf(std::string_view text, std::string_view& type, std::string_view& name) {
    std::size_t pos = skipRapidGap(text, 0);
    for (int words = 0; words < 4; ++words) {
        const std::size_t end = rapidWordEnd(text, pos);
        const std::string_view word = text.substr(pos, end - pos);
        if (word.empty()) {
            return false;
        }
        pos = skipRapidGap(text, end);
        if (equalsAnyNoCase(word, {"LOCAL", "TASK", "CONST", "PERS", "VAR"})) {
            continue;
        }
        type = word;
        name = text.substr(pos, rapidWordEnd(text, pos) - pos);
        return !name.empty();
    }
    return false;
}

// The values of [a, b, ...] after the declaration's ":=": numbers, TRUE as
// 1 and FALSE as 0. False unless exactly `count`.
bool declaredValues(std::string_view text, float* values, std::size_t count) {
    const std::size_t assign = text.find(":=");
    if (assign == std::string_view::npos) {
        return false;
    }
    std::size_t pos = skipRapidGap(text, assign + 2);
    if (pos >= text.size() || text[pos] != '[') {
        return false;
    }
    ++pos;
    for (std::size_t k = 0; k < count; ++k) {
        pos = skipRapidGap(text, pos);
        if (k > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                return false;
            }
            pos = skipRapidGap(text, pos + 1);
        }
        const std::size_t end = rapidWordEnd(text, pos);
        const std::string_view word = text.substr(pos, end - pos);
        std::size_t length = 0;
        if (equalsNoCase(word, "TRUE") || equalsNoCase(word, "FALSE")) {
            values[k] = equalsNoCase(word, "TRUE") ? 1.0f : 0.0f;
            pos = end;
        } else if (readNumberAt(text, pos, values[k], length)) {
            pos += length;
        } else {
            return false;
        }
    }
    pos = skipRapidGap(text, pos);
    return pos < text.size() && text[pos] == ']';
}

void gatherPoses(RapidProgramReader& r, const RapidPiece& piece, bool inRoutine) {
    r.found.clear();
    r.work.inRoutine = inRoutine;
    ScanCallbacks callbacks;
    callbacks.pose = [&r](const PoseRecord& record) { r.found.push_back(record); };
    readRapidStatement(piece.statement, true, r.work, callbacks);
}

// ----------------------------------------------------------------- first pass

void notePiece(RapidProgramReader& r, const RapidPiece& piece) {
    if (piece.kind == RapidPieceKind::structure) {
        if (piece.label) {
            noteLabel(r.jumps, pointKey(piece.word), piece.firstLine);
        } else if (equalsAnyNoCase(piece.word, {"PROC", "FUNC", "TRAP", "LOCAL", "TASK"})) {
            r.noteInRoutine = true;
        } else if (equalsAnyNoCase(piece.word, {"ENDPROC", "ENDFUNC", "ENDTRAP"})) {
            r.noteInRoutine = false;
        }
        return;
    }
    if (piece.kind != RapidPieceKind::statement) {
        return;
    }
    if (equalsNoCase(piece.word, "GOTO")) {
        const std::string_view text = piece.text;
        const std::size_t at = skipRapidGap(text, skipRapidGap(text, 0) + 4);
        noteJump(r.jumps, pointKey(text.substr(at, rapidWordEnd(text, at) - at)), piece.firstLine);
        return;
    }
    if (r.noteInRoutine ||
        !equalsAnyNoCase(piece.word, {"CONST", "PERS", "VAR", "LOCAL", "TASK"})) {
        return;
    }
    std::string_view type;
    std::string_view name;
    if (!declarationOf(piece.text, type, name)) {
        return;
    }
    if (equalsNoCase(type, "speeddata")) {
        std::array<float, 4> values{};
        if (declaredValues(piece.text, values.data(), values.size())) {
            r.speeds[pointKey(name)] = values;
        }
    } else if (equalsNoCase(type, "zonedata")) {
        std::array<float, 7> values{};
        if (declaredValues(piece.text, values.data(), values.size())) {
            r.zones[pointKey(name)] = values;
        }
    } else if (equalsNoCase(type, "robtarget") || equalsNoCase(type, "jointtarget")) {
        gatherPoses(r, piece, false);
        for (const PoseRecord& record : r.found) {
            Point point;
            pointFromRecord(record, point);
            addPoint(*r.points, record.name, point);
        }
    }
}

// ----------------------------------------------------------------- second pass

void emit(RapidProgramReader& r, const ProgramInput& out) {
    if (out.statement) {
        out.statement(r.statement);
    }
}

void start(RapidProgramReader& r, StatementKind kind, const RapidPiece& piece) {
    startStatement(r.statement, kind, r.file, piece.firstLine, piece.text);
    r.statement.place.lastLine = piece.lastLine;
}

void keep(RapidProgramReader& r, WarningCode code, const RapidPiece& piece) {
    start(r, StatementKind::kept, piece);
    r.statement.keptCode = code;
}

// A declaration: a point, data whose values travel with the motions, or kept.
void readDeclaration(RapidProgramReader& r, const RapidPiece& piece) {
    std::string_view type;
    std::string_view name;
    if (r.inRoutine || !declarationOf(piece.text, type, name)) {
        keep(r, WarningCode::variableKept, piece);
        return;
    }
    if (equalsAnyNoCase(type, {"speeddata", "zonedata"})) {
        start(r, StatementKind::structural, piece);
        r.statement.structural = StructuralKind::data;
        return;
    }
    if (equalsAnyNoCase(type, {"tooldata", "wobjdata", "loaddata", "pose"})) {
        keep(r, WarningCode::frameDefinitionKept, piece);
        return;
    }
    if (!equalsAnyNoCase(type, {"robtarget", "jointtarget"})) {
        keep(r, WarningCode::variableKept, piece);
        return;
    }
    gatherPoses(r, piece, false);
    // An array is many points: kept as written, its elements still moved to.
    if (r.found.size() != 1 || !equalsNoCase(r.found.front().name, name)) {
        keep(r, r.found.empty() ? WarningCode::statementKept : WarningCode::variableKept, piece);
        return;
    }
    start(r, StatementKind::pointDeclaration, piece);
    r.statement.key = r.found.front().name;
    pointFromRecord(r.found.front(), r.statement.point);
}

// The option's name: "\WObj:=wobj1" gives WObj and its value wobj1.
std::string_view optionName(std::string_view argument, std::string_view& value) {
    const std::size_t end = rapidWordEnd(argument, 1);
    const std::size_t assign = argument.find(":=", end);
    value = assign == std::string_view::npos ? std::string_view()
                                             : trimmedText(argument.substr(assign + 2));
    return argument.substr(1, end - 1);
}

bool readPoint(RapidProgramReader& r, const RapidPiece& piece, std::size_t begin,
               std::string_view argument, MotionPoint& point, WarningCode& code) {
    point.key.clear();
    point.point = Point{};
    if (argument.front() == '[') {
        const std::uint64_t offset = piece.statement.offset + begin;
        for (const PoseRecord& record : r.found) {
            if (record.offset == offset && record.role == PoseRole::position) {
                pointFromRecord(record, point.point);
                point.point.name.clear();
                return true;
            }
        }
        code = WarningCode::statementKept;
        return false;
    }
    if (startsWithNoCase(argument, "Offs") || startsWithNoCase(argument, "RelTool")) {
        code = WarningCode::relativeMotionKept;
        return false;
    }
    if (!isNameText(argument)) {
        code = WarningCode::variableKept;
        return false;
    }
    point.key.assign(argument);
    return true;
}

void readSpeed(const RapidProgramReader& r, std::string_view word, Speed& speed) {
    speed = Speed{};
    if (!isNameText(word)) {
        speed.kind = SpeedKind::other;
        speed.text.assign(word);
        return;
    }
    speed.kind = SpeedKind::abbData;
    speed.name.assign(word);
    const auto own = r.speeds.find(pointKey(word));
    if (own != r.speeds.end()) {
        speed.hasData = true;
        std::copy(own->second.begin(), own->second.end(), speed.data);
    }
}

void readZone(const RapidProgramReader& r, std::string_view word, Blend& blend) {
    blend = Blend{};
    if (equalsNoCase(word, "fine")) {
        return;
    }
    if (!isNameText(word)) {
        blend.kind = BlendKind::other;
        blend.text.assign(word);
        return;
    }
    blend.kind = BlendKind::abbZone;
    blend.name.assign(word);
    const auto own = r.zones.find(pointKey(word));
    if (own != r.zones.end()) {
        blend.hasData = true;
        std::copy(own->second.begin(), own->second.end(), blend.data);
    }
}

Reference named(std::string_view word) {
    Reference reference;
    reference.known = isNameText(word);
    reference.name.assign(word);
    return reference;
}

// MoveJ, MoveL, MoveC: points, speed, zone, tool and the options between.
void readMotion(RapidProgramReader& r, const RapidPiece& piece) {
    const std::string_view text = piece.text;
    const std::size_t wordAt = skipRapidGap(text, 0);
    const std::size_t instructionEnd = rapidWordEnd(text, wordAt);
    const std::string_view instruction = text.substr(wordAt, instructionEnd - wordAt);
    if (text.find('[') != std::string_view::npos) {
        gatherPoses(r, piece, true);
    } else {
        r.found.clear();
    }
    const std::size_t semicolon = text.rfind(';');
    const auto arguments = argumentsOf(text.substr(0, semicolon), instructionEnd);
    start(r, StatementKind::motion, piece);
    Motion& motion = r.statement.motion;
    motion = Motion{};
    motion.kind = equalsNoCase(instruction, "MoveJ")   ? MotionKind::joint
                  : equalsNoCase(instruction, "MoveC") ? MotionKind::circular
                                                       : MotionKind::linear;
    const std::size_t points = motion.kind == MotionKind::circular ? 2 : 1;
    motion.frame = named("wobj0");
    std::size_t positional = 0;
    WarningCode code = WarningCode::statementKept;
    for (const auto& [begin, end] : arguments) {
        const std::string_view argument = text.substr(begin, end - begin);
        if (argument.front() == '\\') {
            std::string_view value;
            const std::string_view option = optionName(argument, value);
            if (equalsNoCase(option, "WObj") && !value.empty()) {
                motion.frame = named(value);
                continue;
            }
            // \Conc lets the next statements run during the motion; \V, \T
            // and \Z override the data; \ID, \Inpos, \Corr, \TLoad: not modelled.
            keep(r,
                 equalsNoCase(option, "Conc")          ? WarningCode::triggerKept
                 : equalsAnyNoCase(option, {"V", "T"}) ? WarningCode::speedKept
                 : equalsNoCase(option, "Z")           ? WarningCode::blendKept
                                                       : WarningCode::statementKept,
                 piece);
            return;
        }
        const std::size_t k = positional++;
        bool ok = true;
        if (k < points) {
            ok = readPoint(r, piece, begin, argument, k + 1 == points ? motion.target : motion.via,
                           code);
        } else if (k == points) {
            readSpeed(r, argument, motion.speed);
        } else if (k == points + 1) {
            readZone(r, argument, motion.blend);
        } else if (k == points + 2) {
            motion.tool = named(argument);
        } else {
            ok = false;
        }
        if (!ok) {
            keep(r, code, piece);
            return;
        }
    }
    if (positional != points + 3) {
        keep(r, WarningCode::statementKept, piece);
    }
}

// The value of an output or input: 1 or 0 (high or low).
bool stateWord(std::string_view word, bool& state) {
    word = trimmedText(word);
    if (word == "1" || equalsNoCase(word, "high")) {
        state = true;
        return true;
    }
    if (word == "0" || equalsNoCase(word, "low")) {
        state = false;
        return true;
    }
    return false;
}

// WaitTime, SetDO, Set, Reset, PulseDO, WaitDI: false with the code when kept.
bool readLogic(RapidProgramReader& r, const RapidPiece& piece, std::string_view instruction,
               WarningCode& code) {
    const std::string_view text = piece.text;
    const std::size_t at = skipRapidGap(text, 0) + instruction.size();
    const auto arguments = argumentsOf(text.substr(0, text.rfind(';')), at);
    std::string_view plain[3];
    std::size_t plainCount = 0;
    double pulseLength = 0.2; // PulseDO's own default, RAPID's reference says
    bool options = false;
    for (const auto& [begin, end] : arguments) {
        const std::string_view argument = text.substr(begin, end - begin);
        if (argument.front() == '\\') {
            std::string_view value;
            const std::string_view option = optionName(argument, value);
            if (equalsNoCase(instruction, "PulseDO") && equalsNoCase(option, "PLength") &&
                readSeconds(value, pulseLength)) {
                continue;
            }
            code = equalsAnyNoCase(option, {"MaxTime", "TimeFlag"}) ? WarningCode::timeoutKept
                                                                    : WarningCode::statementKept;
            options = true;
            continue;
        }
        if (plainCount == 3) {
            return false;
        }
        plain[plainCount++] = argument;
    }
    if (options) {
        return false;
    }
    code = WarningCode::statementKept;
    Statement& s = r.statement;
    if (equalsNoCase(instruction, "WaitTime")) {
        double seconds = 0.0;
        if (plainCount != 1 || !readSeconds(plain[0], seconds)) {
            code = WarningCode::variableKept;
            return false;
        }
        start(r, StatementKind::waitTime, piece);
        s.seconds = seconds;
        return true;
    }
    const bool set = equalsNoCase(instruction, "Set");
    const bool reset = equalsNoCase(instruction, "Reset");
    const bool pulse = equalsNoCase(instruction, "PulseDO");
    const bool wait = equalsNoCase(instruction, "WaitDI");
    const std::size_t expected = set || reset || pulse ? 1 : 2;
    bool state = !reset;
    if (plainCount != expected || !isNameText(plain[0]) ||
        (expected == 2 && !stateWord(plain[1], state))) {
        code = WarningCode::variableKept;
        return false;
    }
    start(r, wait ? StatementKind::waitInput : StatementKind::digitalOutput, piece);
    s.signal.assign(plain[0]);
    s.state = state;
    s.pulse = pulse;
    s.seconds = pulse ? pulseLength : -1.0;
    return true;
}

// "name;" a call without arguments.
bool isPlainCall(std::string_view text, std::string_view word) {
    const std::size_t at = skipRapidGap(text, 0) + word.size();
    const std::size_t next = skipRapidGap(text, at);
    return isLetterByte(word.empty() ? '\0' : word[0]) && next < text.size() && text[next] == ';';
}

void readStatementPiece(RapidProgramReader& r, const RapidPiece& piece) {
    const std::string_view word = piece.word;
    const std::string_view text = piece.text;
    if (equalsAnyNoCase(word, {"CONST", "PERS", "VAR", "LOCAL", "TASK"})) {
        readDeclaration(r, piece);
        return;
    }
    const std::size_t afterWord = skipRapidGap(text, skipRapidGap(text, 0) + word.size());
    if (text.substr(afterWord, 2) == ":=" || text.substr(afterWord, 1) == "." ||
        text.substr(afterWord, 1) == "{") {
        // An assignment; to a work object's or a tool's frame it defines one.
        const std::size_t assign = text.find(":=");
        const std::string_view left = text.substr(0, assign);
        const bool frame =
            assign != std::string_view::npos && (left.find(".uframe") != std::string_view::npos ||
                                                 left.find(".oframe") != std::string_view::npos ||
                                                 left.find(".tframe") != std::string_view::npos);
        keep(r, frame ? WarningCode::frameDefinitionKept : WarningCode::variableKept, piece);
        return;
    }
    if (equalsAnyNoCase(word, {"MoveJ", "MoveL", "MoveC"})) {
        readMotion(r, piece);
        return;
    }
    WarningCode code = WarningCode::statementKept;
    if (equalsAnyNoCase(word, {"MoveAbsJ"})) {
        code = WarningCode::jointTargetKept;
    } else if (equalsAnyNoCase(word, {"MoveExtJ"})) {
        code = WarningCode::externalAxesKept;
    } else if (startsWithNoCase(word, "Move") || startsWithNoCase(word, "Trigg") ||
               equalsAnyNoCase(word,
                               {"IDelete", "CONNECT", "ISignalDI", "ISignalDO", "ITimer", "ISleep",
                                "IWatch", "IEnable", "IDisable", "IPers", "IError"})) {
        code = WarningCode::triggerKept;
    } else if (startsWithNoCase(word, "Search") || startsWithNoCase(word, "Arc") ||
               startsWithNoCase(word, "Spot") || startsWithNoCase(word, "Cap") ||
               startsWithNoCase(word, "Paint") || startsWithNoCase(word, "Disp")) {
        code = WarningCode::technologyKept;
    } else if (equalsAnyNoCase(word,
                               {"GOTO", "IF", "RETURN", "EXIT", "RAISE", "RETRY", "TRYNEXT"})) {
        code = WarningCode::logicKept;
    } else if (equalsAnyNoCase(word, {"ConfJ", "ConfL"})) {
        start(r, StatementKind::structural, piece);
        r.statement.structural = StructuralKind::setting;
        return;
    } else if (equalsAnyNoCase(word, {"WaitTime", "SetDO", "Set", "Reset", "PulseDO", "WaitDI"})) {
        if (readLogic(r, piece, word, code)) {
            return;
        }
    } else if (equalsAnyNoCase(word,
                               {"Stop", "Break", "ExitCycle", "StopMove", "StartMove", "StorePath",
                                "RestoPath", "ClearPath", "TPErase", "SyncMoveOn", "SyncMoveOff",
                                "PDispOff", "EOffsOff", "CorrClear", "SoftDeact", "ResetRetryCount",
                                "SpeedRefresh", "StopMoveReset"})) {
        // RAPID's own instructions without arguments, which no call stands for.
        code = WarningCode::statementKept;
    } else if (isPlainCall(text, word)) {
        start(r, StatementKind::call, piece);
        r.statement.name.assign(word);
        return;
    } else if (isLetterByte(word.empty() ? '\0' : word[0]) || text[skipRapidGap(text, 0)] == '%') {
        code = WarningCode::callArgumentsKept;
    }
    keep(r, code, piece);
}

// MODULE, PROC, IF ... THEN and the other lines of RAPID's structure.
void readStructure(RapidProgramReader& r, const RapidPiece& piece) {
    const std::string_view word = piece.word;
    if (piece.label) {
        keep(r, WarningCode::logicKept, piece);
        return;
    }
    if (piece.opens) {
        r.keptDepth = 1;
        r.keptCode =
            equalsNoCase(word, "RECORD") ? WarningCode::statementKept : WarningCode::logicKept;
        keep(r, r.keptCode, piece);
        return;
    }
    if (equalsAnyNoCase(word, {"PROC", "FUNC", "TRAP", "LOCAL", "TASK"})) {
        const std::string_view text = piece.text;
        std::size_t pos = skipRapidGap(text, 0);
        while (
            equalsAnyNoCase(text.substr(pos, rapidWordEnd(text, pos) - pos), {"LOCAL", "TASK"})) {
            pos = skipRapidGap(text, rapidWordEnd(text, pos));
        }
        const std::size_t kindEnd = rapidWordEnd(text, pos);
        const std::string_view kind = text.substr(pos, kindEnd - pos);
        const std::size_t nameAt = skipRapidGap(text, kindEnd);
        const std::string_view name = text.substr(nameAt, rapidWordEnd(text, nameAt) - nameAt);
        const std::size_t open = text.find('(', nameAt);
        const std::size_t close = text.find(')', nameAt);
        const bool parameters = open == std::string_view::npos || close == std::string_view::npos ||
                                !trimmedText(text.substr(open + 1, close - open - 1)).empty();
        r.inRoutine = true;
        if (!equalsNoCase(kind, "PROC") || parameters || name.empty()) {
            r.keptRoutine = true;
            r.keptCode = equalsNoCase(kind, "TRAP")   ? WarningCode::triggerKept
                         : equalsNoCase(kind, "FUNC") ? WarningCode::statementKept
                                                      : WarningCode::callArgumentsKept;
            keep(r, r.keptCode, piece);
            return;
        }
        start(r, StatementKind::routineStart, piece);
        r.statement.name.assign(name);
        r.statement.main = equalsNoCase(name, "main");
        return;
    }
    if (equalsNoCase(word, "ENDPROC")) {
        r.inRoutine = false;
        r.handler = false;
        start(r, StatementKind::routineEnd, piece);
        return;
    }
    if (equalsAnyNoCase(word, {"ERROR", "BACKWARD", "UNDO"}) && r.inRoutine) {
        r.handler = true;
        keep(r, WarningCode::logicKept, piece);
        return;
    }
    if (equalsAnyNoCase(word, {"MODULE", "ENDMODULE", "%%%", "VERSION", "LANGUAGE"})) {
        start(r, StatementKind::structural, piece);
        return;
    }
    keep(r, WarningCode::logicKept, piece);
}

// A piece inside a kept block or routine, an error handler, or a jump's region.
void readKeptPiece(RapidProgramReader& r, const RapidPiece& piece, WarningCode code) {
    if (piece.kind == RapidPieceKind::structure) {
        if (r.keptRoutine && equalsAnyNoCase(piece.word, {"ENDPROC", "ENDFUNC", "ENDTRAP"})) {
            r.keptRoutine = false;
            r.inRoutine = false;
        } else if (r.keptDepth > 0) {
            r.keptDepth += piece.opens ? 1 : piece.closes ? -1 : 0;
        } else if (piece.opens && !r.keptRoutine && !r.handler) {
            r.keptDepth = 1;
            r.keptCode = code;
        }
    }
    if (piece.kind == RapidPieceKind::comment) {
        r.keptText = "!";
        r.keptText.append(piece.text);
        startStatement(r.statement, StatementKind::kept, r.file, piece.firstLine, r.keptText);
        r.statement.keptCode = code;
        return;
    }
    keep(r, code, piece);
}

void readPiece(RapidProgramReader& r, const RapidPiece& piece, const ProgramInput& out) {
    if (piece.kind == RapidPieceKind::blank) {
        start(r, StatementKind::blank, piece);
        emit(r, out);
        return;
    }
    const bool region = inRegion(r.regions, piece.firstLine);
    if (!r.keptRoutine && piece.kind == RapidPieceKind::structure &&
        equalsAnyNoCase(piece.word, {"ENDPROC", "ENDMODULE"})) {
        r.keptDepth = 0; // a block left open ends with its routine
    }
    const bool handlerEnd =
        r.handler && piece.kind == RapidPieceKind::structure && equalsNoCase(piece.word, "ENDPROC");
    if (r.keptRoutine || r.keptDepth > 0 || (r.handler && !handlerEnd) || region) {
        const WarningCode code =
            r.keptRoutine || r.keptDepth > 0 ? r.keptCode : WarningCode::logicKept;
        readKeptPiece(r, piece, code);
        emit(r, out);
        return;
    }
    switch (piece.kind) {
    case RapidPieceKind::blank:
        break;
    case RapidPieceKind::comment:
        start(r, StatementKind::comment, piece);
        r.statement.comment.assign(trimmedText(piece.text));
        break;
    case RapidPieceKind::unfinished:
        keep(r, WarningCode::statementKept, piece);
        break;
    case RapidPieceKind::structure:
        readStructure(r, piece);
        break;
    case RapidPieceKind::statement:
        readStatementPiece(r, piece);
        break;
    }
    emit(r, out);
}

} // namespace

void startRapidProgramReader(RapidProgramReader& reader, PointTable& points) {
    reader = RapidProgramReader{};
    reader.points = &points;
    startRapidSplitter(reader.splitter);
}

void noteRapidProgramLine(RapidProgramReader& reader, const SourceLine& line) {
    splitRapidLine(reader.splitter, line,
                   [&reader](const RapidPiece& piece) { notePiece(reader, piece); });
}

void finishRapidNotes(RapidProgramReader& reader) {
    finishRapidSplitter(reader.splitter,
                        [&reader](const RapidPiece& piece) { notePiece(reader, piece); });
}

void startRapidProgramFile(RapidProgramReader& reader, std::uint32_t file) {
    reader.file = file;
    reader.regions = regionsOf(reader.jumps);
    reader.inRoutine = false;
    reader.keptDepth = 0;
    reader.keptRoutine = false;
    reader.handler = false;
    reader.work = RapidWorkspace{};
    startRapidSplitter(reader.splitter);
}

void readRapidProgramLine(RapidProgramReader& reader, const SourceLine& line,
                          const ProgramInput& out) {
    splitRapidLine(reader.splitter, line,
                   [&](const RapidPiece& piece) { readPiece(reader, piece, out); });
}

void finishRapidProgramFile(RapidProgramReader& reader, const ProgramInput& out) {
    finishRapidSplitter(reader.splitter,
                        [&](const RapidPiece& piece) { readPiece(reader, piece, out); });
}
