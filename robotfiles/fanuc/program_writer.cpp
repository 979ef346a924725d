#include "robotfiles/fanuc/program_writer.h"

#include "math/number_text.h"
#include "robotfiles/fanuc/fanuc_writer.h"

#include <charconv>
#include <cmath>

namespace {

constexpr int headerPart = 0;
constexpr int mainPart = 1;
constexpr int positionPart = 2;

// A TP program holds at most this many lines; comments at most this many
// characters a line, position and program comments at most 16.
constexpr std::uint64_t maxLines = 9999;
constexpr std::size_t commentWidth = 32;
constexpr std::size_t programCommentWidth = 16;

// The placeholder the user is warned to teach: wrist not flipped, elbow up,
// the robot facing front, no turns.
constexpr const char* placeholderConfig = "N U T, 0, 0, 0";

bool fail(FanucProgramWriter& w, std::string message) {
    w.message = std::move(message);
    return false;
}

std::string whole(float value) {
    return std::to_string(std::lround(value));
}

// Seconds as FANUC writes them: ".50" for WAIT, "0.5" for a pulse.
std::string fixed(double value, int decimals, bool leadingZero) {
    char buffer[64];
    if (formatFixed(value, FixedFormat{decimals, 0, false}, buffer, sizeof buffer) < 0) {
        return "0";
    }
    std::string text = buffer;
    if (!leadingZero && text.rfind("0.", 0) == 0) {
        text.erase(0, 1);
    }
    return text;
}

std::string lineNumber(std::uint64_t n) {
    std::string text = std::to_string(n);
    return std::string(text.size() < 4 ? 4 - text.size() : 0, ' ') + text;
}

// One numbered /MN line: an instruction "   5:  WAIT .50(sec) ;" or a
// motion "   6:L P[2] 250mm/sec FINE    ;".
bool mn(FanucProgramWriter& w, const std::string& text, bool motion, TargetPlace& place,
        const char* generated = nullptr) {
    if (w.numbered == maxLines) {
        return fail(w, "the FANUC program " + w.name + " would have more than " +
                           std::to_string(maxLines) + " lines");
    }
    ++w.numbered;
    const std::string line =
        lineNumber(w.numbered) + ":" + (motion ? text + "    ;" : "  " + text + " ;");
    place = generated != nullptr ? appendGenerated(*w.ledger, w.file, mainPart, line, generated)
                                 : appendLine(*w.ledger, w.file, mainPart, line);
    return true;
}

// Where to end a comment line: at the width when a blank follows it, else
// at the last blank within it (which begins the next line, so that the lines
// joined give the text back), else at the width without splitting a
// UTF-8 character.
std::size_t commentCut(std::string_view rest) {
    if (rest.size() <= commentWidth || rest[commentWidth] == ' ') {
        return std::min(rest.size(), commentWidth);
    }
    const std::size_t blank = rest.substr(0, commentWidth).rfind(' ');
    if (blank != std::string_view::npos && blank > 0) {
        return blank;
    }
    std::size_t cut = commentWidth;
    while (cut > 0 && (static_cast<unsigned char>(rest[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return cut == 0 ? commentWidth : cut;
}

// A comment over as many lines as its width needs; the place of its first line.
bool comment(FanucProgramWriter& w, std::string_view text, TargetPlace& place,
             const char* generated = nullptr) {
    const std::string safe = oneLine(text);
    std::string_view rest = safe;
    bool first = true;
    do {
        const std::size_t cut = commentCut(rest);
        TargetPlace at;
        std::string line = "!";
        line += rest.substr(0, cut);
        if (!mn(w, line, false, at, generated)) {
            return false;
        }
        if (first) {
            place = at;
            first = false;
        }
        rest.remove_prefix(cut);
    } while (!rest.empty());
    return true;
}

bool notes(FanucProgramWriter& w, const Annotation& a) {
    for (const Note& note : a.notes) {
        std::vector<Note> one{note};
        TargetPlace place;
        if (!comment(w, notesText(one), place, "note")) {
            return false;
        }
    }
    return true;
}

void header(FanucProgramWriter& w) {
    const auto put = [&](const std::string& text) {
        appendGenerated(*w.ledger, w.file, headerPart, text, "header");
    };
    std::string programComment = oneLine(w.comment);
    for (char& c : programComment) {
        c = c == '"' ? '\'' : c;
    }
    programComment.resize(std::min(programComment.size(), programCommentWidth));
    const std::string stamp = "DATE " + w.settings.date + "  TIME " + w.settings.time + ";";
    put("/PROG  " + w.name);
    put("/ATTR");
    put("OWNER\t\t= MNEDITOR;");
    put("COMMENT\t\t= \"" + programComment + "\";");
    put("PROG_SIZE\t= 0;");
    put("CREATE\t\t= " + stamp);
    put("MODIFIED\t= " + stamp);
    put("FILE_NAME\t= ;");
    put("VERSION\t\t= 0;");
    put("LINE_COUNT\t= " + std::to_string(w.numbered) + ";");
    put("MEMORY_SIZE\t= 0;");
    put("PROTECT\t\t= READ_WRITE;");
    put("TCD:  STACK_SIZE\t= 0,");
    put("      TASK_PRIORITY\t= 50,");
    put("      TIME_SLICE\t= 0,");
    put("      BUSY_LAMP_OFF\t= 0,");
    put("      ABORT_REQUEST\t= 0,");
    put("      PAUSE_REQUEST\t= 0;");
    put("DEFAULT_GROUP\t= 1,*,*,*,*;");
    put("CONTROL_CODE\t= 00000000 00000000;");
    put("/MN");
}

void closeRoutine(FanucProgramWriter& w) {
    if (!w.opened) {
        return;
    }
    header(w);
    const TargetPlace end = appendGenerated(*w.ledger, w.file, positionPart, "/END", "structure");
    if (w.ended) {
        reportLanded(*w.ledger, w.endTicket, end);
    }
    w.opened = false;
}

bool writeOne(FanucProgramWriter& w, const Statement& s, const Annotation& a, std::uint64_t ticket);

bool openRoutine(FanucProgramWriter& w, const std::string& name,
                 const std::string& routineComment) {
    closeRoutine(w);
    w.file = openTarget(*w.ledger, name + ".LS", 3);
    if (w.file < 0) {
        return fail(w, "cannot start " + name + ".LS");
    }
    w.opened = true;
    w.anyRoutine = true;
    w.name = name;
    w.comment = routineComment;
    w.numbered = 0;
    w.uf = -1;
    w.ut = -1;
    w.positions.clear();
    w.numbers.clear();
    w.ended = false;
    appendGenerated(*w.ledger, w.file, positionPart, "/POS", "structure");
    std::vector<FanucProgramWriter::Pending> pending;
    pending.swap(w.pending);
    w.pendingLines = 0;
    for (const FanucProgramWriter::Pending& p : pending) {
        if (!writeOne(w, p.statement, p.annotation, p.ticket)) {
            return false;
        }
    }
    return true;
}

// The number n of "P<n>" or "P[n]" (no leading zero), or 0.
int numberIn(std::string_view text) {
    const bool bracket = text.size() > 3 && text[1] == '[' && text.back() == ']';
    if (text.size() < 2 || text[0] != 'P') {
        return 0;
    }
    const std::string_view digits = bracket ? text.substr(2, text.size() - 3) : text.substr(1);
    int n = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    const bool whole = result.ec == std::errc() && result.ptr == digits.data() + digits.size();
    return whole && digits.size() <= 4 && digits[0] != '0' && n > 0 ? n : 0;
}

// The P[n] of a point for this program, with its /POS entry written the first
// time; `key` is the point's key in the source (a FANUC source's "P[3]").
int position(FanucProgramWriter& w, const Point& point, std::string_view key, int uf, int ut) {
    const std::string mapKey = point.name + "\n" + std::to_string(uf) + "\n" + std::to_string(ut);
    if (!point.name.empty()) {
        if (const auto found = w.positions.find(mapKey); found != w.positions.end()) {
            return found->second;
        }
    }
    int n = point.name.empty() ? 0 : numberIn(key) > 0 ? numberIn(key) : numberIn(point.name);
    if (n == 0 || w.numbers.count(n) > 0) {
        n = 1;
        while (w.numbers.count(n) > 0) {
            ++n;
        }
    }
    w.numbers.insert(n);
    if (!point.name.empty()) {
        w.positions.emplace(mapKey, n);
    }
    const auto put = [&](const std::string& text) {
        appendGenerated(*w.ledger, w.file, positionPart, text, "data");
    };
    const bool named = !point.name.empty() && numberIn(point.name) != n;
    put("P[" + std::to_string(n) + (named ? ":\"" + point.name + "\"" : "") + "]{");
    put("   GP1:");
    put("\tUF : " + std::to_string(uf) + ", UT : " + std::to_string(ut) + ",\t\tCONFIG : '" +
        placeholderConfig + "',");
    const std::string members = fanucMembersText(point.pose, "\n");
    std::string_view rest = members;
    for (std::size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
        put(std::string(rest.substr(0, end)));
        rest.remove_prefix(end + 1);
    }
    put("};");
    return n;
}

std::string positionText(FanucProgramWriter& w, const MotionPoint& point, int uf, int ut) {
    const int n = position(w, point.point, point.key, uf, ut);
    const bool named = !point.point.name.empty() && numberIn(point.point.name) != n;
    return "P[" + std::to_string(n) + (named ? ":" + point.point.name : "") + "]";
}

bool speedText(FanucProgramWriter& w, const Motion& m, std::string& out) {
    const Speed& speed = m.speed;
    if (m.kind == MotionKind::joint && speed.kind == SpeedKind::jointPercent) {
        out = whole(speed.value) + "%";
        return true;
    }
    if (m.kind != MotionKind::joint && speed.kind == SpeedKind::path) {
        if (speed.unit == PathUnit::millimetresPerSecond) {
            out = whole(speed.value) + "mm/sec";
            return true;
        }
        if (speed.unit == PathUnit::centimetresPerMinute) {
            out = whole(speed.value) + "cm/min";
            return true;
        }
    }
    return fail(w, "not a FANUC speed for this motion");
}

bool termText(FanucProgramWriter& w, const Blend& blend, std::string& out) {
    if (blend.kind == BlendKind::stop) {
        out = "FINE";
        return true;
    }
    if (blend.kind == BlendKind::fanucCnt) {
        out = "CNT" + whole(blend.value);
        return true;
    }
    return fail(w, "not a FANUC termination: " + blend.name);
}

bool setting(FanucProgramWriter& w, int& inForce, int value, const char* word, const char* what) {
    if (inForce == value) {
        return true;
    }
    inForce = value;
    TargetPlace place;
    return mn(w, std::string(word) + "=" + std::to_string(value), false, place, what);
}

bool writeMotion(FanucProgramWriter& w, const Statement& s, const Annotation& a,
                 TargetPlace& place) {
    const Motion& m = s.motion;
    std::string speed;
    std::string term;
    if (!m.frame.known || !m.tool.known) {
        return fail(w, "a FANUC motion needs its user frame and tool");
    }
    if (!speedText(w, m, speed) || !termText(w, m.blend, term) ||
        !setting(w, w.uf, m.frame.number, "UFRAME_NUM", "frame") ||
        !setting(w, w.ut, m.tool.number, "UTOOL_NUM", "tool") || !notes(w, a)) {
        return false;
    }
    const int uf = m.frame.number;
    const int ut = m.tool.number;
    switch (m.kind) {
    case MotionKind::joint:
    case MotionKind::linear: {
        const std::string target = positionText(w, m.target, uf, ut);
        const char* letter = m.kind == MotionKind::joint ? "J " : "L ";
        return mn(w, letter + target + " " + speed + " " + term, true, place);
    }
    case MotionKind::circular: {
        const std::string via = positionText(w, m.via, uf, ut);
        const std::string end = positionText(w, m.target, uf, ut);
        // The end point continues the numbered line, as controllers write it.
        if (w.numbered == maxLines) {
            return fail(w, "the FANUC program " + w.name + " would have more than " +
                               std::to_string(maxLines) + " lines");
        }
        ++w.numbered;
        place = appendLine(*w.ledger, w.file, mainPart, lineNumber(w.numbered) + ":C " + via);
        appendLine(*w.ledger, w.file, mainPart,
                   "    :  " + end + " " + speed + " " + term + "    ;");
        return true;
    }
    }
    return false;
}

bool writeKept(FanucProgramWriter& w, const Statement& s, const Annotation& a, TargetPlace& place) {
    const WarningCode code = keptCodeOf(s, a);
    const std::string_view file = sourceFileName(w.sourceFiles, s.place);
    bool first = true;
    bool ok = true;
    forEachKeptLine(s, [&](std::uint64_t line, std::string_view text) {
        TargetPlace at;
        ok = ok && comment(w, keptLabel(code, file, line), at);
        if (ok && first) {
            place = at;
            first = false;
        }
        if (ok && !text.empty()) {
            TargetPlace ignored;
            ok = comment(w, text, ignored);
        }
    });
    return ok;
}

bool writeStatement(FanucProgramWriter& w, const Statement& s, const Annotation& a,
                    TargetPlace& place) {
    switch (s.kind) {
    case StatementKind::blank:
    case StatementKind::structural:
    case StatementKind::pointDeclaration:
    case StatementKind::routineStart:
    case StatementKind::routineEnd:
        return true;
    case StatementKind::comment:
        return comment(w, s.comment, place);
    case StatementKind::motion:
        return writeMotion(w, s, a, place);
    case StatementKind::waitTime:
        return notes(w, a) && mn(w, "WAIT " + fixed(s.seconds, 2, false) + "(sec)", false, place);
    case StatementKind::digitalOutput: {
        std::string text = s.signal + "=";
        if (!s.pulse) {
            text += s.state ? "ON" : "OFF";
        } else {
            text += s.seconds < 0.0 ? "PULSE" : "PULSE," + fixed(s.seconds, 1, true) + "sec";
        }
        return notes(w, a) && mn(w, text, false, place);
    }
    case StatementKind::waitInput:
        return notes(w, a) &&
               mn(w, "WAIT " + s.signal + "=" + (s.state ? "ON" : "OFF"), false, place);
    case StatementKind::call:
        return notes(w, a) && mn(w, "CALL " + s.name, false, place);
    case StatementKind::kept:
        break;
    }
    return fail(w, "a kept statement without its annotation");
}

bool writeOne(FanucProgramWriter& w, const Statement& s, const Annotation& a,
              std::uint64_t ticket) {
    TargetPlace place;
    if (s.kind == StatementKind::routineStart) {
        if (!openRoutine(w, s.name, s.comment)) {
            return false;
        }
        place = TargetPlace{w.file, headerPart, 1};
        reportLanded(*w.ledger, ticket, place);
        return notes(w, a);
    }
    if (!w.opened) {
        // Before the first routine: held for the top of its /MN.
        if (++w.pendingLines > maxLines) {
            return fail(w, "more than " + std::to_string(maxLines) +
                               " lines before the first FANUC program");
        }
        w.pending.push_back(FanucProgramWriter::Pending{s, a, ticket});
        return true;
    }
    if (s.kind == StatementKind::routineEnd) {
        w.ended = true;
        w.endTicket = ticket;
        return true;
    }
    const bool ok = a.disposition == Disposition::kept ? writeKept(w, s, a, place)
                                                       : writeStatement(w, s, a, place);
    if (ok) {
        reportLanded(*w.ledger, ticket, place);
    }
    return ok;
}

} // namespace

bool startFanucProgram(FanucProgramWriter& writer, OutputLedger& ledger, const ProgramInfo& target,
                       const ProgramInfo& source, const WriterSettings& settings) {
    writer = FanucProgramWriter{};
    writer.ledger = &ledger;
    writer.settings = settings;
    writer.sourceFiles = source.files;
    writer.programName = target.name;
    return true;
}

bool writeFanucStatement(FanucProgramWriter& writer, const Statement& statement,
                         const Annotation& annotation, std::uint64_t ticket) {
    return writeOne(writer, statement, annotation, ticket);
}

bool finishFanucProgram(FanucProgramWriter& writer) {
    if (!writer.anyRoutine && !openRoutine(writer, writer.programName, std::string())) {
        return false;
    }
    closeRoutine(writer);
    return true;
}
