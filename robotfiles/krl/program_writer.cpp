#include "robotfiles/krl/program_writer.h"

#include "robotfiles/krl/krl_writer.h"

namespace {

constexpr const char* indent = "  ";

std::string withNotes(std::string line, const Annotation& annotation) {
    if (!annotation.notes.empty()) {
        line += " ; " + notesText(annotation.notes);
    }
    return line;
}

// Where a line that is no statement of a routine goes: the routine's part
// of NAME.src, or NAME.dat.
TargetPlace put(KrlProgramWriter& w, std::string_view text, const char* generated = nullptr) {
    const int file = w.inRoutine ? w.src : w.dat;
    const int part = w.inRoutine ? w.part : 0;
    const std::string line = (w.inRoutine && !text.empty() ? indent : "") + std::string(text);
    return generated != nullptr ? appendGenerated(*w.ledger, file, part, line, generated)
                                : appendLine(*w.ledger, file, part, line);
}

bool fail(KrlProgramWriter& w, std::string message) {
    w.message = std::move(message);
    return false;
}

TargetPlace declare(KrlProgramWriter& w, const Point& point, const Annotation* annotation) {
    const std::string key = pointKey(point.name);
    if (const auto found = w.declared.find(key); found != w.declared.end()) {
        return found->second;
    }
    std::string line = "DECL POS " + point.name + "=" + krlPoseText(point.pose);
    TargetPlace place;
    if (annotation != nullptr) {
        place = appendLine(*w.ledger, w.dat, 0, withNotes(line, *annotation));
    } else {
        // Declared for a motion: the placeholder is said here as on a
        // declaration the model gave.
        Annotation notes;
        notes.notes.push_back(Note{WarningCode::configPlaceholder, point.config});
        place = appendGenerated(*w.ledger, w.dat, 0, withNotes(line, notes), "data");
    }
    w.declared.emplace(key, place);
    return place;
}

// Writes "name = value" when the routine has not set it to that value yet.
void setting(KrlProgramWriter& w, std::string& inForce, const std::string& variable,
             const std::string& value, const char* what) {
    if (inForce != value) {
        inForce = value;
        put(w, variable + " = " + value, what);
    }
}

bool speedSetting(KrlProgramWriter& w, const Motion& motion) {
    const Speed& speed = motion.speed;
    if (motion.kind == MotionKind::joint) {
        if (speed.kind != SpeedKind::jointPercent) {
            return fail(w, "a KUKA joint motion needs a speed in percent");
        }
        const std::string value = plainDecimal(speed.value);
        if (w.velPtp != value) {
            w.velPtp = value;
            put(w, "BAS(#VEL_PTP, " + value + ")", "speed");
        }
        return true;
    }
    if (speed.kind != SpeedKind::path) {
        return fail(w, "a KUKA path motion needs a path speed");
    }
    const float metres = speed.unit == PathUnit::metresPerSecond
                             ? speed.value
                             : static_cast<float>(pathMillimetresPerSecond(speed) / 1000.0);
    setting(w, w.velCp, "$VEL.CP", plainDecimal(metres), "speed");
    return true;
}

bool blendSetting(KrlProgramWriter& w, const Motion& motion, std::string& suffix) {
    const Blend& blend = motion.blend;
    const std::string value = plainDecimal(blend.value);
    switch (blend.kind) {
    case BlendKind::stop:
        suffix.clear();
        return true;
    case BlendKind::kukaDistance:
        setting(w, w.cdis, "$APO.CDIS", value, "blend");
        suffix = " C_DIS";
        return true;
    case BlendKind::kukaPtp:
        setting(w, w.cptp, "$APO.CPTP", value, "blend");
        suffix = " C_PTP";
        return true;
    case BlendKind::kukaVelocity:
        setting(w, w.cvel, "$APO.CVEL", value, "blend");
        suffix = " C_VEL";
        return true;
    case BlendKind::kukaOrientation:
        setting(w, w.cori, "$APO.CORI", value, "blend");
        suffix = " C_ORI";
        return true;
    case BlendKind::abbZone:
    case BlendKind::fanucCnt:
    case BlendKind::other:
        break;
    }
    return fail(w, "not a KUKA blending: " + blend.name);
}

bool referenceSettings(KrlProgramWriter& w, const Motion& motion) {
    if (!motion.frame.known || !motion.tool.known) {
        return fail(w, "a KUKA motion needs its base and tool");
    }
    const int b = motion.frame.number;
    const int t = motion.tool.number;
    setting(w, w.base, "$BASE", b == 0 ? "$WORLD" : "BASE_DATA[" + std::to_string(b) + "]",
            "frame");
    setting(w, w.tool, "$TOOL", t == 0 ? "$NULLFRAME" : "TOOL_DATA[" + std::to_string(t) + "]",
            "tool");
    return true;
}

std::string pointText(KrlProgramWriter& w, const MotionPoint& point) {
    if (point.point.name.empty()) {
        return krlPoseText(point.point.pose);
    }
    declare(w, point.point, nullptr);
    return point.point.name;
}

bool writeMotion(KrlProgramWriter& w, const Statement& s, const Annotation& a, TargetPlace& place) {
    const Motion& m = s.motion;
    std::string suffix;
    if (!referenceSettings(w, m) || !speedSetting(w, m) || !blendSetting(w, m, suffix)) {
        return false;
    }
    std::string line;
    switch (m.kind) {
    case MotionKind::joint:
        line = "PTP " + pointText(w, m.target);
        break;
    case MotionKind::linear:
        line = "LIN " + pointText(w, m.target);
        break;
    case MotionKind::circular: {
        const std::string via = pointText(w, m.via);
        line = "CIRC " + via + ", " + pointText(w, m.target);
        break;
    }
    }
    place = put(w, withNotes(line + suffix, a));
    return true;
}

void startRoutine(KrlProgramWriter& w, const Statement& s, TargetPlace& place) {
    w.inRoutine = true;
    w.part = s.main ? 0 : 1;
    w.mainWritten = w.mainWritten || s.main;
    w.base.clear();
    w.tool.clear();
    w.velPtp.clear();
    w.velCp.clear();
    w.cdis.clear();
    w.cptp.clear();
    w.cvel.clear();
    w.cori.clear();
    place = appendLine(*w.ledger, w.src, w.part, "DEF " + s.name + "( )");
    if (s.main) {
        put(w, "BAS(#INITMOV, 0)", "initialisation");
        put(w, "PTP $AXIS_ACT", "initialisation");
    }
}

// A statement that only a routine can hold.
bool inRoutine(KrlProgramWriter& w) {
    return w.inRoutine || fail(w, "a KUKA statement outside a routine");
}

bool writeStatement(KrlProgramWriter& w, const Statement& s, const Annotation& a,
                    TargetPlace& place) {
    switch (s.kind) {
    case StatementKind::blank:
        place = put(w, "");
        return true;
    case StatementKind::structural:
        return true;
    case StatementKind::routineStart:
        startRoutine(w, s, place);
        return true;
    case StatementKind::routineEnd:
        place = appendLine(*w.ledger, w.src, w.part, "END");
        w.inRoutine = false;
        return true;
    case StatementKind::comment:
        place = put(w, withNotes("; " + oneLine(s.comment), a));
        return true;
    case StatementKind::pointDeclaration:
        place = declare(w, s.point, &a);
        return true;
    case StatementKind::motion:
        return inRoutine(w) && writeMotion(w, s, a, place);
    case StatementKind::waitTime:
        if (inRoutine(w)) {
            place = put(w, withNotes("WAIT SEC " + plainDecimal(static_cast<float>(s.seconds)), a));
        }
        return w.inRoutine;
    case StatementKind::digitalOutput:
        if (inRoutine(w)) {
            const char* state = s.state ? "TRUE" : "FALSE";
            place = put(w, withNotes(s.pulse ? "PULSE(" + s.signal + ", " + state + ", " +
                                                   plainDecimal(static_cast<float>(s.seconds)) + ")"
                                             : s.signal + " = " + state,
                                     a));
        }
        return w.inRoutine;
    case StatementKind::waitInput:
        if (inRoutine(w)) {
            place =
                put(w, withNotes(std::string("WAIT FOR ") + (s.state ? "" : "NOT ") + s.signal, a));
        }
        return w.inRoutine;
    case StatementKind::call:
        if (inRoutine(w)) {
            place = put(w, withNotes(s.name + "( )", a));
        }
        return w.inRoutine;
    case StatementKind::kept:
        break;
    }
    return fail(w, "a kept statement without its annotation");
}

} // namespace

bool startKrlProgram(KrlProgramWriter& writer, OutputLedger& ledger, const ProgramInfo& target,
                     const ProgramInfo& source) {
    writer = KrlProgramWriter{};
    writer.ledger = &ledger;
    writer.sourceFiles = source.files;
    writer.name = target.name;
    writer.src = openTarget(ledger, target.name + ".src", 2);
    writer.dat = openTarget(ledger, target.name + ".dat", 1);
    if (writer.src < 0 || writer.dat < 0) {
        return fail(writer, "cannot start " + target.name + ".src and .dat");
    }
    for (int file : {writer.src, writer.dat}) {
        appendGenerated(ledger, file, 0, "&ACCESS RVP", "header");
        appendGenerated(ledger, file, 0, "&REL 1", "header");
    }
    appendGenerated(ledger, writer.dat, 0, "DEFDAT " + target.name + " PUBLIC", "header");
    return true;
}

bool writeKrlStatement(KrlProgramWriter& writer, const Statement& statement,
                       const Annotation& annotation, std::uint64_t ticket) {
    TargetPlace place;
    if (annotation.disposition == Disposition::kept) {
        place = putKeptComments(statement, annotation,
                                sourceFileName(writer.sourceFiles, statement.place), "; ",
                                [&](const std::string& text) { return put(writer, text); });
    } else if (!writeStatement(writer, statement, annotation, place)) {
        return false;
    }
    reportLanded(*writer.ledger, ticket, place);
    return true;
}

bool finishKrlProgram(KrlProgramWriter& writer) {
    if (writer.inRoutine) {
        appendGenerated(*writer.ledger, writer.src, writer.part, "END", "structure");
        writer.inRoutine = false;
    }
    if (!writer.mainWritten) {
        appendGenerated(*writer.ledger, writer.src, 0, "DEF " + writer.name + "( )", "structure");
        appendGenerated(*writer.ledger, writer.src, 0, "END", "structure");
    }
    appendGenerated(*writer.ledger, writer.dat, 0, "ENDDAT", "header");
    return true;
}
