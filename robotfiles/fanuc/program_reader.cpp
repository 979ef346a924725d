#include "robotfiles/fanuc/program_reader.h"

#include "robotfiles/fanuc/fanuc_record.h"
#include "robotfiles/program_points.h"
#include "robotfiles/scan_text.h"

#include <algorithm>
#include <charconv>

namespace {

enum Section { inNone, inProg, inAttr, inAppl, inMn, inPos, inEnd };

bool startsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && equalsNoCase(text.substr(0, start.size()), start);
}

std::string_view withoutLeadingZeros(std::string_view digits) {
    while (digits.size() > 1 && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    return digits;
}

std::size_t digitsEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isDigitByte(text[pos])) {
        ++pos;
    }
    return pos;
}

// "/MN", "/POS": the section a line starts, or -1 for no section line.
int sectionOf(std::string_view text) {
    const std::size_t first = skipBlanks(text, 0);
    if (first >= text.size() || text[first] != '/') {
        return -1;
    }
    std::size_t end = first + 1;
    while (end < text.size() && isLetterByte(text[end])) {
        ++end;
    }
    const std::string_view word = text.substr(first + 1, end - first - 1);
    const struct {
        const char* word;
        Section section;
    } sections[] = {{"PROG", inProg}, {"ATTR", inAttr}, {"APPL", inAppl},
                    {"MN", inMn},     {"POS", inPos},   {"END", inEnd}};
    for (const auto& known : sections) {
        if (equalsNoCase(word, known.word)) {
            return known.section;
        }
    }
    return inAppl; // another header section (/CONTROL ...): its lines are the controller's
}

// A line of /MN: "   5:J P[1] 100% FINE ;" gives "J P[1] 100% FINE" and
// numbered; "    :  P[4] ..." (a circle's second line) gives it unnumbered.
bool mnBody(std::string_view text, std::string_view& body, bool& numbered) {
    std::size_t pos = skipBlanks(text, 0);
    const std::size_t digits = digitsEnd(text, pos);
    numbered = digits > pos;
    pos = skipBlanks(text, digits);
    if (pos >= text.size() || text[pos] != ':') {
        return false;
    }
    body = trimmedText(text.substr(pos + 1));
    if (!body.empty() && body.back() == ';') {
        body = trimmedText(body.substr(0, body.size() - 1));
    }
    return true;
}

// The number of "P[n", "P[n:comment]" at text[pos] (the 'P'), and where its ']' ends.
bool positionNumber(std::string_view text, std::size_t pos, std::string_view& number,
                    std::size_t& end) {
    if (pos + 1 >= text.size() || text[pos] != 'P') {
        return false;
    }
    std::size_t at = skipBlanks(text, pos + 1);
    if (at >= text.size() || text[at] != '[') {
        return false;
    }
    at = skipBlanks(text, at + 1);
    const std::size_t stop = digitsEnd(text, at);
    if (stop == at || stop - at > 9) {
        return false;
    }
    number = withoutLeadingZeros(text.substr(at, stop - at));
    const std::size_t close = text.find(']', stop);
    end = close == std::string_view::npos ? text.size() : close + 1;
    return true;
}

std::string pointKeyOf(std::string_view number) {
    return "P[" + std::string(number) + "]";
}

// "LBL[5]" or "LBL[5:retry]" at text[pos]: the label's number.
bool labelNumber(std::string_view text, std::size_t pos, std::string_view& number) {
    if (!startsWithNoCase(text.substr(pos), "LBL[")) {
        return false;
    }
    const std::size_t at = skipBlanks(text, pos + 4);
    const std::size_t stop = digitsEnd(text, at);
    number = withoutLeadingZeros(text.substr(at, stop - at));
    return stop > at;
}

// ----------------------------------------------------------------- first pass

void noteMotionLine(FanucProgramReader& r, std::string_view body, std::uint64_t line) {
    std::string_view number;
    if (labelNumber(body, 0, number)) {
        noteLabel(r.jumps, number, line);
        return;
    }
    for (std::size_t at = body.find("JMP"); at != std::string_view::npos;
         at = body.find("JMP", at + 3)) {
        const std::size_t label = skipBlanks(body, at + 3);
        if (labelNumber(body, label, number)) {
            noteJump(r.jumps, number, line);
        }
    }
    const char first = body.empty() ? '\0' : body[0];
    const bool motion = (first == 'J' || first == 'L' || first == 'C' || first == 'A') &&
                        body.size() > 1 && isBlankByte(body[1]);
    if (!motion && first != 'P') {
        return;
    }
    bool relative = false;
    for (std::size_t at = body.find("INC"); at != std::string_view::npos;
         at = body.find("INC", at + 3)) {
        relative = relative || ((at == 0 || isBlankByte(body[at - 1])) &&
                                (at + 3 >= body.size() || isBlankByte(body[at + 3])));
    }
    for (std::size_t at = body.find('P'); at != std::string_view::npos;
         at = body.find('P', at + 1)) {
        std::size_t end = 0;
        if ((at > 0 && isLetterByte(body[at - 1])) || !positionNumber(body, at, number, end)) {
            continue;
        }
        r.uses[std::string(number)] |=
            relative ? FanucProgramReader::relative : FanucProgramReader::target;
    }
}

// The frame number a position stores ("UF : 1"), -1 for none or a word.
int frameNumber(bool present, std::string_view text) {
    int value = -1;
    text = trimmedText(text);
    if (!present || text.empty() ||
        std::from_chars(text.data(), text.data() + text.size(), value).ptr !=
            text.data() + text.size()) {
        return -1;
    }
    return value;
}

// Reads the position in the block; its first group as a point. False when it
// cannot be read or holds no group.
bool readPosition(FanucProgramReader& r, std::size_t end, Point& point, int& uf, int& ut) {
    if (!readFanucPosition(r.block.text, r.block.start, end, r.position, r.trouble) ||
        r.position.groups.empty()) {
        return false;
    }
    startFanucRecord(r.record, r.position, r.block, "");
    const FanucGroup& group = r.position.groups.front();
    if (group.remoteTcp || !fillFanucGroup(r.record, r.position, group, r.block)) {
        return false;
    }
    pointFromRecord(r.record, point, r.position.groups.size() > 1);
    point.name = r.position.hasComment && !trimmedText(r.position.comment).empty()
                     ? std::string(trimmedText(r.position.comment))
                     : "P" + std::string(withoutLeadingZeros(r.position.number));
    uf = frameNumber(group.hasUf, group.uf);
    ut = frameNumber(group.hasUt, group.ut);
    return true;
}

// Positions of a /POS line, each handed to `done` with the index just past
// its "};" once whole. Shared by both passes: `wanted` says whether a
// position whose number is given is worth holding at all; `lost` hears of a
// position that outgrew the block's bound, before the block lets it go.
template <typename Wanted, typename Done, typename Lost>
void positionLine(FanucProgramReader& r, const SourceLine& line, Wanted wanted, Done done,
                  Lost lost) {
    const std::string_view text = line.text;
    std::size_t pos = 0;
    if (r.block.open) {
        const std::size_t from = r.block.text.size();
        if (!appendFanucLine(r.block, line)) {
            lost();
            closeFanucBlock(r.block);
            r.skipping = true;
        } else {
            const std::size_t end = findFanucPositionEnd(r.block.text, from);
            if (end == std::string_view::npos) {
                return;
            }
            done(end);
            closeFanucBlock(r.block);
            pos = end - from;
        }
    }
    for (;;) {
        if (r.skipping) {
            const std::size_t end = findFanucPositionEnd(text, pos);
            if (end == std::string_view::npos) {
                return;
            }
            r.skipping = false;
            pos = end;
        }
        pos = skipBlanks(text, pos);
        std::string_view number;
        std::size_t after = 0;
        if (pos >= text.size() || !positionNumber(text, pos, number, after)) {
            return;
        }
        if (!wanted(number) || !openFanucBlock(r.block, line, pos)) {
            r.skipping = true;
            continue;
        }
        const std::size_t end = findFanucPositionEnd(r.block.text, pos);
        if (end == std::string_view::npos) {
            return;
        }
        done(end);
        closeFanucBlock(r.block);
        pos = end;
    }
}

// ----------------------------------------------------------------- second pass

void emit(FanucProgramReader& r, const ProgramInput& out) {
    if (out.statement) {
        out.statement(r.statement);
    }
}

void start(FanucProgramReader& r, StatementKind kind, std::uint64_t line, std::string_view text) {
    startStatement(r.statement, kind, r.file, line, text);
}

void keep(FanucProgramReader& r, WarningCode code, std::uint64_t line, std::string_view text) {
    keptStatement(r.statement, code, r.file, line, text);
}

// The signal word of "DO[3]", "DO[ 3 : grip ]": DO[3]; false for registers.
bool signalOf(std::string_view text, std::string& signal, std::size_t& end) {
    std::size_t letters = 0;
    while (letters < text.size() && isLetterByte(text[letters])) {
        ++letters;
    }
    const std::string_view prefix = text.substr(0, letters);
    if (!equalsAnyNoCase(prefix, {"DO", "DI", "RO", "RI"}) || letters >= text.size() ||
        text[letters] != '[') {
        return false;
    }
    const std::size_t at = skipBlanks(text, letters + 1);
    const std::size_t stop = digitsEnd(text, at);
    const std::size_t close = text.find(']', stop);
    if (stop == at || stop - at > 6 || close == std::string_view::npos) {
        return false;
    }
    const std::size_t after = skipBlanks(text, stop);
    if (after < close && text[after] != ':') {
        return false; // DO[R[1]]: an index from a register
    }
    signal.clear();
    for (const char c : prefix) {
        signal += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    signal += "[" + std::string(withoutLeadingZeros(text.substr(at, stop - at))) + "]";
    end = close + 1;
    return true;
}

// ON or OFF.
bool onOff(std::string_view word, bool& state) {
    word = trimmedText(word);
    if (equalsNoCase(word, "ON")) {
        state = true;
        return true;
    }
    if (equalsNoCase(word, "OFF")) {
        state = false;
        return true;
    }
    return false;
}

// DO[n]=ON, DO[n]=PULSE, DO[n]=PULSE,0.5sec.
bool readOutput(FanucProgramReader& r, std::string_view body, std::uint64_t line,
                std::string_view text) {
    std::string signal;
    std::size_t end = 0;
    if (!signalOf(body, signal, end) || signal[1] != 'O') {
        return false;
    }
    std::size_t equals = skipBlanks(body, end);
    if (equals >= body.size() || body[equals] != '=') {
        return false;
    }
    const std::string_view value = trimmedText(body.substr(equals + 1));
    bool state = true;
    double seconds = -1.0;
    bool pulse = false;
    if (startsWithNoCase(value, "PULSE")) {
        pulse = true;
        std::string_view rest = trimmedText(value.substr(5));
        if (!rest.empty()) {
            if (rest.front() != ',') {
                return false;
            }
            rest = trimmedText(rest.substr(1));
            if (rest.size() < 3 || !equalsNoCase(rest.substr(rest.size() - 3), "sec") ||
                !readSeconds(rest.substr(0, rest.size() - 3), seconds)) {
                return false;
            }
        }
    } else if (!onOff(value, state)) {
        return false;
    }
    start(r, StatementKind::digitalOutput, line, text);
    r.statement.signal = std::move(signal);
    r.statement.state = state;
    r.statement.pulse = pulse;
    r.statement.seconds = seconds;
    return true;
}

// WAIT 1.00(sec), WAIT DI[n]=ON; false with the code when kept.
bool readWait(FanucProgramReader& r, std::string_view body, std::uint64_t line,
              std::string_view text, WarningCode& code) {
    std::string_view rest = trimmedText(body.substr(4));
    if (rest.find("TIMEOUT") != std::string_view::npos) {
        code = WarningCode::timeoutKept;
        return false;
    }
    code = WarningCode::variableKept;
    const std::size_t open = rest.find('(');
    if (open != std::string_view::npos && equalsNoCase(trimmedText(rest.substr(open)), "(sec)")) {
        double seconds = 0.0;
        if (!readSeconds(rest.substr(0, open), seconds)) {
            return false;
        }
        start(r, StatementKind::waitTime, line, text);
        r.statement.seconds = seconds;
        return true;
    }
    std::string signal;
    std::size_t end = 0;
    if (!signalOf(rest, signal, end) || signal[1] != 'I') {
        return false;
    }
    const std::size_t equals = skipBlanks(rest, end);
    bool state = true;
    if (equals >= rest.size() || rest[equals] != '=' || !onOff(rest.substr(equals + 1), state)) {
        return false;
    }
    start(r, StatementKind::waitInput, line, text);
    r.statement.signal = std::move(signal);
    r.statement.state = state;
    return true;
}

// A motion's speed: n%, n mm/sec, n cm/min; anything else is kept in words.
void readSpeed(std::string_view word, Speed& speed) {
    speed = Speed{};
    const struct {
        const char* unit;
        SpeedKind kind;
        PathUnit path;
    } units[] = {{"%", SpeedKind::jointPercent, PathUnit::millimetresPerSecond},
                 {"mm/sec", SpeedKind::path, PathUnit::millimetresPerSecond},
                 {"cm/min", SpeedKind::path, PathUnit::centimetresPerMinute}};
    for (const auto& unit : units) {
        const std::string_view suffix = unit.unit;
        if (word.size() > suffix.size() &&
            equalsNoCase(word.substr(word.size() - suffix.size()), suffix)) {
            const std::string_view digits = word.substr(0, word.size() - suffix.size());
            float value = 0.0f;
            std::size_t length = 0;
            if (readNumberAt(digits, 0, value, length) && length == digits.size() && value > 0.0f) {
                speed.kind = unit.kind;
                speed.unit = unit.path;
                speed.value = value;
                return;
            }
        }
    }
    speed.kind = SpeedKind::other;
    speed.text.assign(word);
}

void readTermination(std::string_view word, Blend& blend) {
    blend = Blend{};
    if (equalsNoCase(word, "FINE")) {
        return;
    }
    float value = 0.0f;
    std::size_t length = 0;
    if (startsWithNoCase(word, "CNT") && readNumberAt(word, 3, value, length) &&
        3 + length == word.size() && value >= 0.0f && value <= 100.0f) {
        blend.kind = BlendKind::fanucCnt;
        blend.value = value;
        return;
    }
    blend.kind = BlendKind::other;
    blend.text.assign(word);
}

// What a motion option after the termination makes the line: kept.
WarningCode optionCode(std::string_view option) {
    if (equalsAnyNoCase(option, {"INC"}) || startsWithNoCase(option, "Offset") ||
        startsWithNoCase(option, "Tool_Offset") || startsWithNoCase(option, "VOFFSET")) {
        return WarningCode::relativeMotionKept;
    }
    if (equalsAnyNoCase(option, {"TB", "TA", "DB"}) || startsWithNoCase(option, "Skip") ||
        startsWithNoCase(option, "TIME")) {
        return WarningCode::triggerKept;
    }
    return WarningCode::statementKept;
}

Reference numbered(int number) {
    Reference reference;
    reference.known = number >= 0;
    reference.number = std::max(number, 0);
    return reference;
}

// The point at text[pos]: a P[n] by its key, with the frame and tool it
// stores; false with the code for a position register.
bool readTarget(FanucProgramReader& r, std::string_view text, std::size_t& pos, MotionPoint& point,
                Motion& motion, WarningCode& code) {
    pos = skipBlanks(text, pos);
    if (startsWithNoCase(text.substr(pos), "PR[")) {
        code = WarningCode::positionRegisterKept;
        return false;
    }
    std::string_view number;
    std::size_t end = 0;
    if (!positionNumber(text, pos, number, end)) {
        code = WarningCode::statementKept;
        return false;
    }
    point = MotionPoint{};
    point.key = pointKeyOf(number);
    const auto stored = r.frames.find(std::string(number));
    const int uf =
        stored != r.frames.end() && stored->second.first >= 0 ? stored->second.first : r.uf;
    const int ut =
        stored != r.frames.end() && stored->second.second >= 0 ? stored->second.second : r.ut;
    motion.frame = numbered(uf);
    motion.tool = numbered(ut);
    pos = end;
    return true;
}

// The speed, termination and options after the points.
bool readMotionTail(std::string_view text, std::size_t pos, Motion& motion, WarningCode& code) {
    std::string_view words[2];
    std::size_t count = 0;
    for (;;) {
        pos = skipBlanks(text, pos);
        if (pos >= text.size()) {
            break;
        }
        std::size_t end = pos;
        while (end < text.size() && !isBlankByte(text[end])) {
            ++end;
        }
        const std::string_view word = text.substr(pos, end - pos);
        if (count == 2) {
            code = optionCode(word);
            return false;
        }
        words[count++] = word;
        pos = end;
    }
    if (count != 2) {
        code = WarningCode::statementKept;
        return false;
    }
    readSpeed(words[0], motion.speed);
    readTermination(words[1], motion.blend);
    if (motion.kind != MotionKind::joint && motion.speed.kind == SpeedKind::jointPercent) {
        motion.speed.kind = SpeedKind::other;
        motion.speed.text.assign(words[0]);
    }
    return true;
}

void readMotion(FanucProgramReader& r, std::string_view body, std::uint64_t line,
                std::string_view text) {
    start(r, StatementKind::motion, line, text);
    Motion& motion = r.statement.motion;
    motion = Motion{};
    motion.kind = body[0] == 'J' ? MotionKind::joint : MotionKind::linear;
    std::size_t pos = 1;
    WarningCode code = WarningCode::statementKept;
    if (!readTarget(r, body, pos, motion.target, motion, code) ||
        !readMotionTail(body, pos, motion, code)) {
        keep(r, code, line, text);
    }
}

// The circle's second line arrived: one motion of both.
void readCircleEnd(FanucProgramReader& r, std::string_view body, const SourceLine& line,
                   std::string_view text) {
    const std::uint64_t first = r.circleLine;
    std::string joined = r.circleText + "\n" + std::string(text);
    start(r, StatementKind::motion, first, joined);
    r.statement.place.lastLine = line.number;
    Motion& motion = r.statement.motion;
    motion = Motion{};
    motion.kind = MotionKind::circular;
    WarningCode code = WarningCode::statementKept;
    const std::string_view via = r.circleText;
    std::string_view viaBody;
    bool numbered = false;
    std::size_t pos = 1;
    Motion viaFrames;
    std::size_t endPos = 0;
    const bool ok = mnBody(via, viaBody, numbered) && !viaBody.empty() &&
                    readTarget(r, viaBody, pos, motion.via, viaFrames, code) &&
                    readTarget(r, body, endPos, motion.target, motion, code) &&
                    readMotionTail(body, endPos, motion, code);
    if (!ok) {
        keep(r, code, first, joined);
        r.statement.place.lastLine = line.number;
    }
}

// A numbered line of /MN, its instruction in body.
void readInstruction(FanucProgramReader& r, std::string_view body, const SourceLine& line,
                     std::string_view text) {
    const std::uint64_t number = line.number;
    if (body.empty()) {
        start(r, StatementKind::blank, number, text);
        return;
    }
    if (body[0] == '!') {
        start(r, StatementKind::comment, number, text);
        r.statement.comment.assign(trimmedText(body.substr(1)));
        return;
    }
    std::size_t wordStop = 0;
    while (wordStop < body.size() && (isLetterByte(body[wordStop]) || body[wordStop] == '_')) {
        ++wordStop;
    }
    const std::string_view word = body.substr(0, wordStop);
    const char first = body[0];
    const bool motion = body.size() > 1 && isBlankByte(body[1]);
    if (motion && (first == 'J' || first == 'L')) {
        readMotion(r, body, number, text);
        return;
    }
    if (motion && first == 'A') {
        keep(r, WarningCode::arcKept, number, text);
        return;
    }
    float frame = 0.0f;
    std::size_t length = 0;
    for (const char* setting : {"UFRAME_NUM", "UTOOL_NUM"}) {
        if (!equalsNoCase(word, setting)) {
            continue;
        }
        const std::size_t equals = skipBlanks(body, wordStop);
        const std::string_view value = equals < body.size() && body[equals] == '='
                                           ? trimmedText(body.substr(equals + 1))
                                           : std::string_view();
        int& active = setting[1] == 'F' ? r.uf : r.ut;
        // Bounded before it becomes an int: beyond int's range that is
        // undefined, and no controller has frames numbered so far.
        if (!readNumberAt(value, 0, frame, length) || length != value.size() || frame < 0.0f ||
            frame > 1.0e6f || frame != static_cast<float>(static_cast<int>(frame))) {
            active = -1;
            keep(r, WarningCode::variableKept, number, text);
            return;
        }
        active = static_cast<int>(frame);
        start(r, StatementKind::structural, number, text);
        r.statement.structural = StructuralKind::setting;
        return;
    }
    WarningCode code = WarningCode::statementKept;
    if (equalsNoCase(word, "WAIT")) {
        if (!readWait(r, body, number, text, code)) {
            keep(r, code, number, text);
        }
        return;
    }
    if (equalsNoCase(word, "CALL")) {
        const std::string_view name = trimmedText(body.substr(4));
        const bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return isLetterByte(c) || isDigitByte(c) || c == '_';
        });
        if (plain) {
            start(r, StatementKind::call, number, text);
            r.statement.name.assign(name);
        } else {
            keep(r, WarningCode::callArgumentsKept, number, text);
        }
        return;
    }
    if (readOutput(r, body, number, text)) {
        return;
    }
    if (equalsAnyNoCase(word, {"LBL", "JMP", "IF", "SELECT", "ELSE", "ENDIF", "FOR", "ENDFOR",
                               "END", "ABORT", "PAUSE"}) ||
        first == '=') {
        code = WarningCode::logicKept;
    } else if (equalsAnyNoCase(word, {"UFRAME", "UTOOL", "PAYLOAD"})) {
        code = WarningCode::frameDefinitionKept;
    } else if (equalsAnyNoCase(word,
                               {"R", "PR", "F", "SR", "AR", "GO", "AO", "TIMER", "OVERRIDE"}) ||
               first == '$') {
        code = WarningCode::variableKept;
    } else if (equalsAnyNoCase(word, {"Arc", "Weave", "Track", "SPOT", "TOUCH", "Search"})) {
        code = WarningCode::technologyKept;
    } else if (equalsAnyNoCase(word, {"SKIP", "RUN", "COL"})) {
        code = WarningCode::triggerKept;
    } else if (equalsAnyNoCase(word, {"OFFSET", "TOOL_OFFSET"})) {
        code = WarningCode::relativeMotionKept;
    }
    keep(r, code, number, text);
}

// IF (...) THEN and FOR open a block whose every line is kept.
bool opensBlock(std::string_view body) {
    if (startsWithNoCase(body, "FOR ")) {
        return true;
    }
    return startsWithNoCase(body, "IF") && body.size() >= 4 &&
           equalsNoCase(body.substr(body.size() - 4), "THEN");
}

bool closesBlock(std::string_view body) {
    return equalsNoCase(body, "ENDIF") || equalsNoCase(body, "ENDFOR");
}

void readMnLine(FanucProgramReader& r, const SourceLine& line, std::string_view text,
                const ProgramInput& out) {
    std::string_view body;
    bool numbered = false;
    const bool read = mnBody(text, body, numbered);
    if (r.circle) {
        r.circle = false;
        if (read && !numbered) {
            readCircleEnd(r, body, line, text);
            emit(r, out);
            return;
        }
        keep(r, WarningCode::statementKept, r.circleLine, r.circleText);
        emit(r, out);
    }
    if (!read) {
        if (trimmedText(text).empty()) {
            start(r, StatementKind::blank, line.number, text);
        } else {
            keep(r, WarningCode::statementKept, line.number, text);
        }
        emit(r, out);
        return;
    }
    const bool region = inRegion(r.regions, line.number);
    if (r.keptDepth > 0 || region) {
        if (r.keptDepth > 0) {
            r.keptDepth += opensBlock(body) ? 1 : closesBlock(body) ? -1 : 0;
        } else if (opensBlock(body)) {
            r.keptDepth = 1;
        }
        for (const char* setting : {"UFRAME_NUM", "UTOOL_NUM"}) {
            if (startsWithNoCase(body, setting)) {
                // Set only sometimes: which one holds is not known.
                (setting[1] == 'F' ? r.uf : r.ut) = -1;
            }
        }
        keep(r, WarningCode::logicKept, line.number, text);
        emit(r, out);
        return;
    }
    if (opensBlock(body)) {
        r.keptDepth = 1;
        keep(r, WarningCode::logicKept, line.number, text);
        emit(r, out);
        return;
    }
    if (numbered && body.size() >= 2 && body[0] == 'C' && isBlankByte(body[1]) &&
        body.find(';') == std::string_view::npos && text.find(';') == std::string_view::npos) {
        r.circle = true;
        r.circleLine = line.number;
        r.circleText.assign(text);
        return;
    }
    if (!numbered) {
        keep(r, WarningCode::statementKept, line.number, text);
    } else {
        readInstruction(r, body, line, text);
    }
    emit(r, out);
}

// The lines of the block without their endings, for a kept position.
std::string blockText(const FanucBlock& block, std::size_t end) {
    std::string text(std::string_view(block.text).substr(block.start, end - block.start));
    std::erase(text, '\r');
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

void readPositionLine(FanucProgramReader& r, const SourceLine& line, std::string_view text,
                      const ProgramInput& out) {
    bool covered = r.block.open;
    const auto all = [](std::string_view) { return true; };
    positionLine(
        r, line, all,
        [&](std::size_t end) {
            covered = true;
            const FanucLineStart& first = r.block.lines.front();
            std::string_view number;
            std::size_t after = 0;
            positionNumber(r.block.text, r.block.start, number, after);
            Point point;
            int uf = -1;
            int ut = -1;
            const std::string joined = blockText(r.block, end);
            const auto use = r.uses.find(std::string(number));
            const bool relative =
                use != r.uses.end() && (use->second & FanucProgramReader::relative);
            if (!readPosition(r, end, point, uf, ut) || relative) {
                keep(r, relative ? WarningCode::relativeMotionKept : WarningCode::statementKept,
                     first.number, joined);
            } else {
                start(r, StatementKind::pointDeclaration, first.number, joined);
                r.statement.key = pointKeyOf(number);
                r.statement.point = std::move(point);
            }
            r.statement.place.lastLine = line.number;
            emit(r, out);
        },
        [&]() {
            covered = false;
            keep(r, WarningCode::statementKept, r.block.lines.front().number,
                 blockText(r.block, r.block.text.size()));
            r.statement.place.lastLine = line.number - 1;
            emit(r, out);
        });
    if (!covered && !r.block.open && !r.skipping) {
        if (trimmedText(text).empty()) {
            start(r, StatementKind::blank, line.number, text);
        } else {
            keep(r, WarningCode::statementKept, line.number, text);
        }
        emit(r, out);
    } else if (!covered && (r.block.open || r.skipping)) {
        // A position that never closes is handed over at its end or at the
        // file's; this line waits with it.
        if (r.skipping && !r.block.open) {
            keep(r, WarningCode::statementKept, line.number, text);
            emit(r, out);
        }
    }
}

} // namespace

void startFanucProgramReader(FanucProgramReader& reader, PointTable& points) {
    reader = FanucProgramReader{};
    reader.points = &points;
}

void noteFanucProgramLine(FanucProgramReader& r, const SourceLine& line) {
    if (line.overlong) {
        return;
    }
    const std::string_view text = withoutLineEnd(line.text);
    const int section = sectionOf(text);
    if (section >= 0) {
        r.section = section;
        closeFanucBlock(r.block);
        r.skipping = false;
        return;
    }
    if (r.section == inMn) {
        std::string_view body;
        bool numbered = false;
        if (mnBody(text, body, numbered)) {
            noteMotionLine(r, body, line.number);
        }
    } else if (r.section == inPos) {
        const auto wanted = [&r](std::string_view number) {
            const auto use = r.uses.find(std::string(number));
            return use != r.uses.end() && (use->second & FanucProgramReader::target) != 0;
        };
        positionLine(
            r, line, wanted,
            [&r](std::size_t end) {
                Point point;
                int uf = -1;
                int ut = -1;
                std::string_view number;
                std::size_t after = 0;
                positionNumber(r.block.text, r.block.start, number, after);
                if (readPosition(r, end, point, uf, ut)) {
                    const std::string key = pointKeyOf(number);
                    r.frames[std::string(number)] = {uf, ut};
                    addPoint(*r.points, key, point);
                }
            },
            []() {});
    }
}

void finishFanucNotes(FanucProgramReader& reader) {
    closeFanucBlock(reader.block);
    reader.skipping = false;
    reader.section = inNone;
}

void startFanucProgramFile(FanucProgramReader& reader, std::uint32_t file) {
    reader.file = file;
    reader.section = inNone;
    reader.regions = regionsOf(reader.jumps);
    reader.keptDepth = 0;
    reader.uf = -1;
    reader.ut = -1;
    reader.circle = false;
    reader.ended = false;
    reader.skipping = false;
    closeFanucBlock(reader.block);
}

void readFanucProgramLine(FanucProgramReader& r, const SourceLine& line, const ProgramInput& out) {
    const std::string_view text = line.overlong ? std::string_view() : withoutLineEnd(line.text);
    if (line.overlong) {
        keep(r, WarningCode::statementKept, line.number, text);
        emit(r, out);
        return;
    }
    const int section = sectionOf(text);
    if (section >= 0) {
        if (r.circle) {
            r.circle = false;
            keep(r, WarningCode::statementKept, r.circleLine, r.circleText);
            emit(r, out);
        }
        if (r.block.open) {
            // A position cut off by the section: kept as far as it went.
            keep(r, WarningCode::statementKept, r.block.lines.front().number,
                 blockText(r.block, r.block.text.size()));
            r.statement.place.lastLine = line.number - 1;
            emit(r, out);
            closeFanucBlock(r.block);
        }
        r.skipping = false;
        r.keptDepth = 0; // a block left open ends with /MN
        r.section = section;
        if (section == inProg) {
            const std::size_t slash = skipBlanks(text, 0);
            const std::size_t nameAt = skipBlanks(text, slash + 5);
            std::size_t nameEnd = nameAt;
            while (nameEnd < text.size() && !isBlankByte(text[nameEnd])) {
                ++nameEnd;
            }
            start(r, StatementKind::routineStart, line.number, text);
            r.statement.name.assign(text.substr(nameAt, nameEnd - nameAt));
            r.statement.main = true;
        } else if ((section == inPos || section == inEnd) && !r.ended) {
            r.ended = true;
            start(r, StatementKind::routineEnd, line.number, text);
        } else {
            start(r, StatementKind::structural, line.number, text);
        }
        emit(r, out);
        return;
    }
    switch (r.section) {
    case inMn:
        readMnLine(r, line, text, out);
        return;
    case inPos:
        readPositionLine(r, line, text, out);
        return;
    case inAppl:
        if (trimmedText(text).empty()) {
            start(r, StatementKind::blank, line.number, text);
        } else {
            keep(r, WarningCode::technologyKept, line.number, text);
        }
        emit(r, out);
        return;
    default:
        if (trimmedText(text).empty()) {
            start(r, StatementKind::blank, line.number, text);
        } else {
            start(r, r.section == inAttr ? StatementKind::structural : StatementKind::kept,
                  line.number, text);
        }
        emit(r, out);
        return;
    }
}

void finishFanucProgramFile(FanucProgramReader& r, const ProgramInput& out) {
    if (r.circle) {
        r.circle = false;
        keep(r, WarningCode::statementKept, r.circleLine, r.circleText);
        emit(r, out);
    }
    if (r.block.open) {
        const std::uint64_t first = r.block.lines.front().number;
        keep(r, WarningCode::statementKept, first, blockText(r.block, r.block.text.size()));
        r.statement.place.lastLine = r.block.lines.back().number;
        emit(r, out);
        closeFanucBlock(r.block);
    }
}
