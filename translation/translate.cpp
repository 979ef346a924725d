#include "translation/translate.h"

#include "translation/blend_rules.h"
#include "translation/speed_rules.h"

#include <charconv>
#include <cmath>

namespace {

// The resolutions of FANUC's WAIT t(sec) and DO[n]=PULSE,t sec.
constexpr double fanucWaitStep = 0.01;
constexpr double fanucPulseStep = 0.1;

std::string folded(std::string_view name) {
    return pointKey(name);
}

std::string seconds(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr) + " s";
}

const char* vendorWord(Vendor vendor) {
    switch (vendor) {
    case Vendor::kuka:
        return "KUKA";
    case Vendor::abb:
        return "ABB";
    case Vendor::fanuc:
        return "FANUC";
    }
    return "";
}

const char* referenceNoun(Vendor vendor, ReferenceKind kind) {
    const bool frame = kind == ReferenceKind::frame;
    switch (vendor) {
    case Vendor::kuka:
        return frame ? "base" : "tool";
    case Vendor::abb:
        return frame ? "work object" : "tool";
    case Vendor::fanuc:
        return frame ? "UF" : "UT";
    }
    return "";
}

std::string referenceWords(Vendor vendor, ReferenceKind kind, const Reference& reference) {
    return std::string(vendorWord(vendor)) + " " + referenceNoun(vendor, kind) + " " +
           (vendor == Vendor::abb ? reference.name : std::to_string(reference.number));
}

bool sameReference(Vendor vendor, const Reference& a, const Reference& b) {
    return vendor == Vendor::abb ? folded(a.name) == folded(b.name) : a.number == b.number;
}

bool isWorldFrame(Vendor vendor, const Reference& frame) {
    return vendor == Vendor::abb ? folded(frame.name) == "WOBJ0" : frame.number == 0;
}

void mapReference(const TranslationState& state, ReferenceKind kind, const Reference& source,
                  Reference& out, Verdict& verdict) {
    const bool frame = kind == ReferenceKind::frame;
    const Vendor from = state.source;
    const Vendor to = state.options.target;
    if (!source.known) {
        refuse(verdict, frame ? RuleId::frameUnknown : RuleId::toolUnknown,
               std::string("the program does not say which ") + referenceNoun(from, kind) +
                   " this motion uses");
        return;
    }
    for (const ReferencePair& pair : frame ? state.options.frames : state.options.tools) {
        if (sameReference(from, pair.source, source)) {
            out = pair.target;
            apply(verdict, frame ? RuleId::frameMap : RuleId::toolMap);
            return;
        }
    }
    if (from == to) {
        out = source;
        apply(verdict, RuleId::sameVendor);
        return;
    }
    const std::string words = referenceWords(from, kind, source);
    const std::string option = frame ? "--frame " : "--tool ";
    const std::string example =
        option + (from == Vendor::abb ? source.name : std::to_string(source.number)) + "=<" +
        vendorWord(to) + " " + referenceNoun(to, kind) + ">";
    if (frame && isWorldFrame(from, source)) {
        refuse(verdict, RuleId::worldFrame,
               "the motion is in " + words +
                   ", the robot's own world frame, which is another point on another robot: map "
                   "it explicitly with " +
                   example);
        return;
    }
    refuse(verdict, frame ? RuleId::frameMissing : RuleId::toolMissing,
           words + " is not in " + option + "(give " + example + ")");
}

// Whether a point can be carried over at all.
void checkPoint(const Point& point, Verdict& verdict) {
    switch (point.status) {
    case PointStatus::ok:
        break;
    case PointStatus::joint:
        apply(verdict, RuleId::jointTarget);
        return;
    case PointStatus::untaught:
    case PointStatus::partial:
    case PointStatus::notUnit:
        apply(verdict, RuleId::pointUntaught);
        return;
    }
    if (point.externalAxes) {
        apply(verdict, RuleId::externalAxes);
    }
}

std::string displayName(const Point& point, std::string_view key) {
    return point.name.empty() ? std::string(key) : point.name;
}

void namePoint(TranslationState& state, std::string_view key, Point& point, Verdict& verdict) {
    const std::string source = displayName(point, key);
    bool renamed = false;
    point.name = assignName(state.names, NameKind::point, pointKey(key), source, renamed);
    if (renamed) {
        apply(verdict, RuleId::nameAdapted, source);
    }
}

// The target's point for a motion: the table's, named for the target, or
// the one written in the motion.
void resolvePoint(TranslationState& state, const PointTable& points, const MotionPoint& source,
                  MotionPoint& out, Verdict& verdict) {
    out.key = source.key;
    if (source.key.empty()) {
        out.point = source.point;
        checkPoint(out.point, verdict);
        return;
    }
    const Point* found = findPoint(points, source.key);
    if (found == nullptr) {
        apply(verdict, RuleId::pointUnknown);
        return;
    }
    out.point = *found;
    checkPoint(out.point, verdict);
    namePoint(state, source.key, out.point, verdict);
}

// The source configuration for the trailing comment: where the target
// writes the point's pose on the motion's line (an inline point, every
// FANUC point), else on the declaration.
std::string configWas(const TranslationState& state, const Motion& motion) {
    std::string was;
    const auto add = [&](const MotionPoint& p) {
        const bool here = p.key.empty() || state.options.target == Vendor::fanuc;
        if (here && !p.point.config.empty()) {
            was += was.empty() ? "" : " / ";
            was += p.point.config;
        }
    };
    if (motion.kind == MotionKind::circular) {
        add(motion.via);
    }
    add(motion.target);
    return was;
}

void translateMotion(TranslationState& state, const PointTable& points, const Statement& source,
                     Statement& target, Verdict& verdict) {
    const Motion& m = source.motion;
    Motion& t = target.motion;
    switch (m.kind) {
    case MotionKind::linear:
        apply(verdict, RuleId::linearMotion);
        break;
    case MotionKind::circular:
        apply(verdict, RuleId::circularMotion);
        break;
    case MotionKind::joint:
        if (state.options.configController) {
            apply(verdict, RuleId::jointMotionCartesian);
        } else {
            refuse(verdict, RuleId::jointMotionNeedsConfig,
                   "a joint move to a Cartesian point reaches the arm configuration the source "
                   "gives for its own robot, which is never carried over: give --config "
                   "controller to let the target controller choose from the current posture");
        }
        break;
    }
    resolvePoint(state, points, m.target, t.target, verdict);
    if (m.kind == MotionKind::circular) {
        resolvePoint(state, points, m.via, t.via, verdict);
    }
    apply(verdict, RuleId::configurationPlaceholder, configWas(state, t));
    convertSpeed(m, state.source, state.options, state.names, t.speed, verdict);
    convertBlend(m, state.source, state.options, state.names, t.blend, verdict);
    mapReference(state, ReferenceKind::frame, m.frame, t.frame, verdict);
    mapReference(state, ReferenceKind::tool, m.tool, t.tool, verdict);
    // The source program's own corner decides when its next I/O runs.
    state.blendedBefore = m.blend.kind != BlendKind::stop;
}

void mapSignal(const TranslationState& state, const std::string& source, bool output,
               std::string& out, Verdict& verdict) {
    for (const SignalPair& pair : state.options.signals) {
        if (sameSignal(pair.source, source)) {
            if (!signalCanBe(pair.target, output)) {
                refuse(verdict, RuleId::signalMismatch,
                       "--signal maps " + source + " to " + pair.target + ", which is an " +
                           (output ? "input" : "output") + ": expected an " +
                           (output ? "output" : "input"));
                return;
            }
            out = pair.target;
            apply(verdict, RuleId::signalMap);
            return;
        }
    }
    if (state.source == state.options.target) {
        out = source;
        apply(verdict, RuleId::sameVendor);
        return;
    }
    apply(verdict, RuleId::signalUnmapped);
}

void nearBlend(const TranslationState& state, Verdict& verdict) {
    if (state.blendedBefore && state.source != state.options.target) {
        apply(verdict, RuleId::ioNearBlend);
    }
}

// A time the target keeps only to a step: rounded, and approximated when that
// changed it.
void roundTime(double value, double step, double lowest, RuleId exact, RuleId rounded, double& out,
               Verdict& verdict) {
    const double r = std::max(lowest, std::round(value / step) * step);
    if (std::fabs(r - value) > 1e-9) {
        out = r;
        apply(verdict, rounded, seconds(value));
        return;
    }
    apply(verdict, exact);
}

void translateOutput(TranslationState& state, const Statement& source, Statement& target,
                     Verdict& verdict) {
    const Vendor to = state.options.target;
    const bool otherVendor = state.source != to;
    if (source.pulse && otherVendor && (source.seconds < 0.0 || !source.state)) {
        apply(verdict, RuleId::pulseLengthUnknown);
        return;
    }
    if (source.pulse && otherVendor && to == Vendor::fanuc) {
        roundTime(source.seconds, fanucPulseStep, fanucPulseStep, RuleId::digitalOutput,
                  RuleId::pulseRounded, target.seconds, verdict);
    } else {
        apply(verdict, RuleId::digitalOutput);
    }
    mapSignal(state, source.signal, true, target.signal, verdict);
    nearBlend(state, verdict);
}

void translateCall(TranslationState& state, const std::string& name, std::string& out,
                   Verdict& verdict) {
    const std::string key = folded(name);
    if (key == state.mainKey) {
        out = state.mainName;
    } else {
        bool renamed = false;
        out = assignName(state.names, NameKind::routine, key, name, renamed);
    }
    if (out != name) {
        apply(verdict, RuleId::nameAdapted, name);
    }
}

void startRoutine(TranslationState& state, const Statement& source, Statement& target,
                  Verdict& verdict) {
    state.blendedBefore = false;
    const std::string key = folded(source.name);
    if (source.main && state.mainKey.empty()) {
        state.mainKey = key;
    }
    if (key == state.mainKey) {
        bindName(state.names, NameKind::routine, key, state.mainName);
        target.name = state.mainName;
    } else {
        bool renamed = false;
        target.name = assignName(state.names, NameKind::routine, key, source.name, renamed);
    }
    target.comment = source.name;
    if (target.name != source.name) {
        apply(verdict, RuleId::nameAdapted, source.name);
    }
}

void translateDeclaration(TranslationState& state, const Statement& source, Statement& target,
                          Verdict& verdict) {
    checkPoint(source.point, verdict);
    if (isKept(verdict)) {
        return;
    }
    namePoint(state, source.key, target.point, verdict);
    if (state.options.target == Vendor::fanuc) {
        apply(verdict, RuleId::pointWithMotion);
        return;
    }
    apply(verdict, RuleId::pointDeclaration);
    apply(verdict, RuleId::configurationPlaceholder, source.point.config);
}

void finish(const Verdict& verdict, const Statement& source, Disposition plain,
            StatementOutcome& out) {
    out.rule = verdict.decided;
    out.annotation.notes.clear();
    if (isKept(verdict)) {
        out.target = source;
        out.annotation.disposition = Disposition::kept;
        out.annotation.notes.push_back(Note{verdict.keptCode, {}});
        return;
    }
    if (isRefused(verdict)) {
        out.refused = true;
        out.refusal = verdict.refusal;
        return;
    }
    out.annotation.disposition = plain == Disposition::translated ? dispositionOf(verdict) : plain;
    out.annotation.notes = verdict.notes;
}

} // namespace

void startTranslation(const ProgramInfo& source, const TranslationOptions& options,
                      TranslationState& state, ProgramInfo& target, bool& renamed) {
    state.source = source.vendor;
    state.options = options;
    state.names = startNames(options.target);
    state.blendedBefore = false;
    state.mainKey = folded(source.mainRoutine);
    target = source;
    target.vendor = options.target;
    if (options.target == Vendor::abb) {
        // RAPID starts a program at main; the module carries the program's name.
        target.name = assignName(state.names, NameKind::program, "", source.name, renamed);
        state.mainName = "main";
        reserveName(state.names, NameKind::routine, state.mainName);
    } else {
        // KRL's main DEF and FANUC's main program carry the program's name.
        target.name = assignName(state.names, NameKind::program, "", source.name, renamed);
        state.mainName = target.name;
    }
    target.mainRoutine = state.mainName;
}

void translateStatement(TranslationState& state, const PointTable& points, const Statement& source,
                        StatementOutcome& out) {
    Verdict& verdict = state.verdict;
    startVerdict(verdict);
    out.refused = false;
    out.refusal.clear();
    out.target = source;
    Disposition plain = Disposition::translated;
    switch (source.kind) {
    case StatementKind::blank:
        apply(verdict, RuleId::blank);
        plain = Disposition::blank;
        break;
    case StatementKind::structural:
        apply(verdict, source.structural == StructuralKind::data      ? RuleId::dataDeclaration
                       : source.structural == StructuralKind::setting ? RuleId::motionSetting
                                                                      : RuleId::structure);
        plain = Disposition::structural;
        break;
    case StatementKind::routineStart:
        apply(verdict, RuleId::routine);
        startRoutine(state, source, out.target, verdict);
        plain = Disposition::structural;
        break;
    case StatementKind::routineEnd:
        apply(verdict, RuleId::routine);
        plain = Disposition::structural;
        break;
    case StatementKind::comment:
        apply(verdict, RuleId::comment);
        break;
    case StatementKind::kept:
        applyKept(verdict, RuleId::keptConstruct, source.keptCode);
        break;
    case StatementKind::pointDeclaration:
        translateDeclaration(state, source, out.target, verdict);
        plain = state.options.target == Vendor::fanuc ? Disposition::structural
                                                      : Disposition::translated;
        break;
    case StatementKind::motion:
        translateMotion(state, points, source, out.target, verdict);
        break;
    case StatementKind::waitTime:
        if (state.options.target == Vendor::fanuc && state.source != Vendor::fanuc) {
            roundTime(source.seconds, fanucWaitStep, 0.0, RuleId::waitTime, RuleId::waitTimeRounded,
                      out.target.seconds, verdict);
        } else {
            apply(verdict, RuleId::waitTime);
        }
        break;
    case StatementKind::digitalOutput:
        translateOutput(state, source, out.target, verdict);
        break;
    case StatementKind::waitInput:
        apply(verdict, RuleId::waitInput);
        mapSignal(state, source.signal, false, out.target.signal, verdict);
        nearBlend(state, verdict);
        break;
    case StatementKind::call:
        apply(verdict, RuleId::call);
        translateCall(state, source.name, out.target.name, verdict);
        break;
    }
    finish(verdict, source, plain, out);
}
