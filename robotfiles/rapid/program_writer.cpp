#include "robotfiles/rapid/program_writer.h"

#include "robotfiles/rapid/rapid_writer.h"

namespace {

// The module's data, then its routines.
constexpr int dataPart = 0;
constexpr int routinePart = 1;

std::string withNotes(std::string line, const Annotation& annotation) {
    if (!annotation.notes.empty()) {
        line += " ! " + notesText(annotation.notes);
    }
    return line;
}

TargetPlace put(RapidProgramWriter& w, std::string_view text, const char* generated = nullptr) {
    const int part = w.inRoutine ? routinePart : dataPart;
    const std::string line =
        text.empty() ? std::string() : (w.inRoutine ? "    " : "  ") + std::string(text);
    return generated != nullptr ? appendGenerated(*w.ledger, w.module, part, line, generated)
                                : appendLine(*w.ledger, w.module, part, line);
}

bool fail(RapidProgramWriter& w, std::string message) {
    w.message = std::move(message);
    return false;
}

std::string values(const float* v, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        text += k == 0 ? "" : ",";
        text += plainDecimal(v[k]);
    }
    return text;
}

// Declares data in the module's data part once; `annotation` is the
// model's declaration, null for one the writer makes for a motion.
TargetPlace declare(RapidProgramWriter& w, const std::string& name, const std::string& text,
                    const Annotation* annotation, const char* what = "data") {
    const std::string key = pointKey(name);
    if (const auto found = w.declared.find(key); found != w.declared.end()) {
        return found->second;
    }
    const std::string line = "  " + text;
    const TargetPlace place =
        annotation != nullptr
            ? appendLine(*w.ledger, w.module, dataPart, withNotes(line, *annotation))
            : appendGenerated(*w.ledger, w.module, dataPart, line, what);
    w.declared.emplace(key, place);
    return place;
}

TargetPlace declarePoint(RapidProgramWriter& w, const Point& point, const Annotation* annotation) {
    const std::string text =
        "CONST robtarget " + point.name + ":=" + rapidRobtargetText(point.pose) + ";";
    if (annotation != nullptr) {
        return declare(w, point.name, text, annotation);
    }
    Annotation notes;
    notes.notes.push_back(Note{WarningCode::configPlaceholder, point.config});
    return declare(w, point.name, text + " ! " + notesText(notes.notes), nullptr);
}

std::string pointText(RapidProgramWriter& w, const MotionPoint& point) {
    if (point.point.name.empty()) {
        return rapidRobtargetText(point.point.pose);
    }
    declarePoint(w, point.point, nullptr);
    return point.point.name;
}

bool speedText(RapidProgramWriter& w, const Speed& speed, std::string& out) {
    if (speed.kind != SpeedKind::abbData || speed.name.empty()) {
        return fail(w, "an ABB motion needs a speeddata");
    }
    if (!speed.predefined) {
        if (!speed.hasData) {
            return fail(w, "the speeddata " + speed.name + " has no values");
        }
        declare(w, speed.name,
                "CONST speeddata " + speed.name + ":=[" + values(speed.data, 4) + "];", nullptr);
    }
    out = speed.name;
    return true;
}

bool zoneText(RapidProgramWriter& w, const Blend& blend, std::string& out) {
    if (blend.kind == BlendKind::stop) {
        out = "fine";
        return true;
    }
    if (blend.kind != BlendKind::abbZone || blend.name.empty()) {
        return fail(w, "an ABB motion needs a zonedata");
    }
    if (!blend.predefined) {
        if (!blend.hasData) {
            return fail(w, "the zonedata " + blend.name + " has no values");
        }
        declare(w, blend.name,
                "CONST zonedata " + blend.name + ":=[" +
                    (blend.data[0] != 0.0f ? "TRUE," : "FALSE,") + values(blend.data + 1, 6) + "];",
                nullptr);
    }
    out = blend.name;
    return true;
}

bool writeMotion(RapidProgramWriter& w, const Statement& s, const Annotation& a,
                 TargetPlace& place) {
    const Motion& m = s.motion;
    std::string speed;
    std::string zone;
    if (!speedText(w, m.speed, speed) || !zoneText(w, m.blend, zone)) {
        return false;
    }
    if (m.tool.name.empty() || m.frame.name.empty()) {
        return fail(w, "an ABB motion needs its tool and work object");
    }
    std::string line;
    switch (m.kind) {
    case MotionKind::joint:
        line = "MoveJ " + pointText(w, m.target);
        break;
    case MotionKind::linear:
        line = "MoveL " + pointText(w, m.target);
        break;
    case MotionKind::circular: {
        const std::string via = pointText(w, m.via);
        line = "MoveC " + via + ", " + pointText(w, m.target);
        break;
    }
    }
    line += ", " + speed + ", " + zone + ", " + m.tool.name + " \\WObj:=" + m.frame.name + ";";
    place = put(w, withNotes(line, a));
    return true;
}

bool inRoutine(RapidProgramWriter& w) {
    return w.inRoutine || fail(w, "an ABB statement outside a routine");
}

bool writeStatement(RapidProgramWriter& w, const Statement& s, const Annotation& a,
                    TargetPlace& place) {
    switch (s.kind) {
    case StatementKind::blank:
        place = put(w, "");
        return true;
    case StatementKind::structural:
        return true;
    case StatementKind::routineStart:
        place =
            appendLine(*w.ledger, w.module, routinePart, withNotes("  PROC " + s.name + "()", a));
        w.inRoutine = true;
        put(w, "ConfJ \\Off;", "configuration");
        put(w, "ConfL \\Off;", "configuration");
        return true;
    case StatementKind::routineEnd:
        place = appendLine(*w.ledger, w.module, routinePart, "  ENDPROC");
        w.inRoutine = false;
        return true;
    case StatementKind::comment:
        place = put(w, withNotes("! " + oneLine(s.comment), a));
        return true;
    case StatementKind::pointDeclaration:
        place = declarePoint(w, s.point, &a);
        return true;
    case StatementKind::motion:
        return inRoutine(w) && writeMotion(w, s, a, place);
    case StatementKind::waitTime:
        if (inRoutine(w)) {
            place = put(
                w, withNotes("WaitTime " + plainDecimal(static_cast<float>(s.seconds)) + ";", a));
        }
        return w.inRoutine;
    case StatementKind::digitalOutput:
        if (inRoutine(w)) {
            std::string line;
            if (!s.pulse) {
                line = "SetDO " + s.signal + ", " + (s.state ? "1;" : "0;");
            } else if (s.seconds < 0.0) {
                line = "PulseDO " + s.signal + ";";
            } else {
                line = "PulseDO \\PLength:=" + plainDecimal(static_cast<float>(s.seconds)) + ", " +
                       s.signal + ";";
            }
            place = put(w, withNotes(line, a));
        }
        return w.inRoutine;
    case StatementKind::waitInput:
        if (inRoutine(w)) {
            place = put(w, withNotes("WaitDI " + s.signal + ", " + (s.state ? "1;" : "0;"), a));
        }
        return w.inRoutine;
    case StatementKind::call:
        if (inRoutine(w)) {
            place = put(w, withNotes(s.name + ";", a));
        }
        return w.inRoutine;
    case StatementKind::kept:
        break;
    }
    return fail(w, "a kept statement without its annotation");
}

} // namespace

bool startRapidProgram(RapidProgramWriter& writer, OutputLedger& ledger, const ProgramInfo& target,
                       const ProgramInfo& source) {
    writer = RapidProgramWriter{};
    writer.ledger = &ledger;
    writer.sourceFiles = source.files;
    writer.module = openTarget(ledger, target.name + ".mod", 2);
    if (writer.module < 0) {
        return fail(writer, "cannot start " + target.name + ".mod");
    }
    appendGenerated(ledger, writer.module, dataPart, "MODULE " + target.name, "header");
    return true;
}

bool writeRapidStatement(RapidProgramWriter& writer, const Statement& statement,
                         const Annotation& annotation, std::uint64_t ticket) {
    TargetPlace place;
    if (annotation.disposition == Disposition::kept) {
        place = putKeptComments(statement, annotation,
                                sourceFileName(writer.sourceFiles, statement.place), "! ",
                                [&](const std::string& text) { return put(writer, text); });
    } else if (!writeStatement(writer, statement, annotation, place)) {
        return false;
    }
    reportLanded(*writer.ledger, ticket, place);
    return true;
}

bool finishRapidProgram(RapidProgramWriter& writer) {
    if (writer.inRoutine) {
        appendGenerated(*writer.ledger, writer.module, routinePart, "  ENDPROC", "structure");
        writer.inRoutine = false;
    }
    appendGenerated(*writer.ledger, writer.module, routinePart, "ENDMODULE", "header");
    return true;
}
