// One statement at a time, per direction: the rule that decides it, the
// warnings on its line and what the target gets, for each motion form,
// speed, blending, reference, I/O, refusal and kept construct.

#include "tests/translation/model_builders.h"
#include "translation/translate.h"

#include <gtest/gtest.h>

#include <charconv>
#include <functional>
#include <string>
#include <vector>

namespace {

using K = Vendor;
using MK = MotionKind;
using PU = PathUnit;
using BK = BlendKind;

std::string num(float v) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
}

std::string list(const float* v, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        text += k == 0 ? "[" : ",";
        text += num(v[k]);
    }
    return text + "]";
}

std::string describeSpeed(const Speed& s) {
    if (s.kind == SpeedKind::path) {
        const char* units[] = {" m/s", " mm/s", " cm/min"};
        return num(s.value) + units[static_cast<int>(s.unit)];
    }
    if (s.kind == SpeedKind::jointPercent) {
        return num(s.value) + " %";
    }
    return s.name + (!s.predefined && s.hasData ? " " + list(s.data, 4) : "");
}

std::string describeBlend(const Blend& b) {
    const char* kuka[] = {"", "C_DIS ", "C_PTP ", "C_VEL ", "C_ORI "};
    switch (b.kind) {
    case BK::stop:
        return b.name.empty() ? "stop" : b.name;
    case BK::abbZone:
        return b.name + (b.predefined ? "" : " " + list(b.data, 7));
    case BK::fanucCnt:
        return "CNT" + num(b.value);
    case BK::other:
        return "?";
    default:
        return kuka[static_cast<int>(b.kind)] + num(b.value);
    }
}

std::string describeReference(const Reference& r) {
    return r.name.empty() ? std::to_string(r.number) : r.name;
}

// What the target statement says, in a short form the cases write by hand.
std::string describe(const Statement& s) {
    const std::string seconds = std::to_string(s.seconds);
    switch (s.kind) {
    case StatementKind::motion: {
        const Motion& m = s.motion;
        std::string text = m.target.point.name.empty() ? "inline" : m.target.point.name;
        if (m.kind == MK::circular) {
            text = m.via.point.name + " " + text;
        }
        return text + "; " + describeSpeed(m.speed) + "; " + describeBlend(m.blend) + "; " +
               describeReference(m.frame) + "; " + describeReference(m.tool);
    }
    case StatementKind::digitalOutput:
        return s.signal + (s.pulse ? " pulse " + seconds.substr(0, 4) : s.state ? " on" : " off");
    case StatementKind::waitInput:
        return s.signal + (s.state ? " on" : " off");
    case StatementKind::waitTime:
        return seconds.substr(0, 5);
    case StatementKind::pointDeclaration:
        return s.point.name;
    case StatementKind::comment:
        return s.comment;
    case StatementKind::kept:
        return s.text;
    default:
        return s.name;
    }
}

// The points every case can use: a Cartesian point of each vendor, a joint
// target, one with external axes, an untaught one.
PointTable sourcePoints(Vendor vendor) {
    PointTable table;
    if (vendor == K::abb) {
        addPoint(table, "p10", point(K::abb, {500, 0, 600, 0, 0, 1, 0}, "p10", "[0,0,1,0]"));
        addPoint(table, "p20", point(K::abb, {600, 0, 600, 0, 0, 1, 0}, "p20", "[0,0,1,0]"));
    } else if (vendor == K::fanuc) {
        addPoint(table, "P[1]",
                 point(K::fanuc, {500, 0, 600, 180, 0, 0}, "APPROACH", "N U T, 0, 0, 0"));
        addPoint(table, "P[2]", point(K::fanuc, {600, 0, 600, 180, 0, 0}, "P2", "N U T, 0, 0, 0"));
    } else {
        addPoint(table, "XP1", point(K::kuka, {500, 0, 600, 0, 90, 0}, "XP1", "S 2, T 10"));
        addPoint(table, "XP2", point(K::kuka, {600, 0, 600, 0, 90, 0}, "XP2", "S 2, T 10"));
    }
    Point joint;
    joint.name = "JHOME";
    joint.status = PointStatus::joint;
    addPoint(table, "JHOME", joint);
    Point external = point(vendor == K::abb ? K::kuka : vendor, {1, 2, 3, 0, 0, 0}, "XRAIL");
    external.externalAxes = true;
    addPoint(table, "XRAIL", external);
    Point untaught;
    untaught.name = "XNEW";
    untaught.status = PointStatus::untaught;
    addPoint(table, "XNEW", untaught);
    return table;
}

TranslationOptions optionsFor(Vendor from, Vendor to) {
    TranslationOptions o;
    o.target = to;
    o.configController = true;
    o.jointSpeed = 1000.0;
    const auto frame = [&](Vendor v, int n, const char* name) {
        return v == K::abb ? named(name) : number(n);
    };
    o.frames.push_back({frame(from, 3, "wobjTable"), frame(to, 3, "wobjTable")});
    o.tools.push_back({frame(from, 1, "tGripper"), frame(to, 1, "tGripper")});
    const char* out[] = {"$OUT[3]", "doGrip", "DO[3]"};
    const char* in[] = {"$IN[2]", "diPart", "DI[2]"};
    o.signals.push_back({out[static_cast<int>(from)], out[static_cast<int>(to)]});
    o.signals.push_back({in[static_cast<int>(from)], in[static_cast<int>(to)]});
    return o;
}

struct Case {
    const char* what;
    Vendor from;
    Vendor to;
    Statement statement;
    std::function<void(TranslationOptions&)> tweak;
    const char* outcome; // a disposition, or "refused"
    const char* rule;
    std::vector<std::string> warnings;
    std::string target; // describe() of the target, "" when not checked
    std::vector<Statement> before = {};
};

Statement kukaLin(Speed speed, Blend blend, const char* key = "XP1") {
    return motion(MK::linear, key, speed, blend, number(3), number(1));
}
Statement kukaPtp(float pct, Blend blend, const char* key = "XP1") {
    return motion(MK::joint, key, percent(pct), blend, number(3), number(1));
}
Statement abbMove(MotionKind kind, Speed speed, Blend blend, const char* wobj = "wobjTable") {
    return motion(kind, "p10", speed, blend, named(wobj), named("tGripper"));
}
Statement fanucMove(MotionKind kind, Speed speed, Blend blend, int uf = 3) {
    return motion(kind, "P[1]", speed, blend, number(uf), number(1));
}

const std::function<void(TranslationOptions&)> none = [](TranslationOptions&) {};
const std::function<void(TranslationOptions&)> noJointSpeed = [](TranslationOptions& o) {
    o.jointSpeed = 0;
};
const std::function<void(TranslationOptions&)> noConfig = [](TranslationOptions& o) {
    o.configController = false;
};

std::function<void(TranslationOptions&)> blends(std::vector<const char*> entries) {
    return [entries](TranslationOptions& o) {
        for (const char* text : entries) {
            BlendPair pair;
            std::string message;
            ASSERT_TRUE(parseBlendPair(text, pair, message)) << message;
            o.blends.push_back(pair);
        }
    };
}

std::function<void(TranslationOptions&)> frame(Reference from, Reference to) {
    return [from, to](TranslationOptions& o) { o.frames.push_back({from, to}); };
}

const std::function<void(TranslationOptions&)> outputToInput = [](TranslationOptions& o) {
    o.signals.front().target = "DI[1]";
};

Statement jointDeclaration() {
    Point p;
    p.status = PointStatus::joint;
    return declaration("XHOME", p);
}

Statement withBase(Reference base) {
    return motion(MK::linear, "XP1", pathSpeed(0.25f, PU::metresPerSecond), stop(), base,
                  number(1));
}

std::vector<Case> cases() {
    const Speed cp = pathSpeed(0.25f, PU::metresPerSecond);
    const Speed mm250 = pathSpeed(250, PU::millimetresPerSecond);
    const std::vector<std::string> conf = {"config-placeholder"};
    const char* own250 = "speed250 [250,500,5000,1000]";
    const std::string abbRefs = "; wobjTable; tGripper";
    // clang-format off
    return {
        // KUKA -> ABB
        {"LIN to a named point", K::kuka, K::abb, kukaLin(cp, stop()), none,
         "translated", "linear-motion", conf, "XP1; " + std::string(own250) + "; fine" + abbRefs},
        {"a TCP speed ABB predefines", K::kuka, K::abb, kukaLin(pathSpeed(0.5f, PU::metresPerSecond),
         blendOf(BK::kukaDistance, 10)), none, "translated", "linear-motion", conf, "XP1; v500; z10" + abbRefs},
        {"C_DIS without a predefined zone", K::kuka, K::abb, kukaLin(cp, blendOf(BK::kukaDistance, 12)), none,
         "translated", "linear-motion", conf, "XP1; " + std::string(own250) + "; zone12 [0,12,18,18,1.8,18,1.8]" + abbRefs},
        {"C_DIS 0.3 is z0", K::kuka, K::abb, kukaLin(cp, blendOf(BK::kukaDistance, 0.3f)), none,
         "translated", "linear-motion", conf, "XP1; " + std::string(own250) + "; z0" + abbRefs},
        {"CIRC", K::kuka, K::abb, motion(MK::circular, "XP2", cp, stop(), number(3), number(1), "XP1"), none,
         "translated", "circular-motion", conf, "XP1 XP2; " + std::string(own250) + "; fine" + abbRefs},
        {"PTP % through --joint-speed", K::kuka, K::abb, kukaPtp(50, stop()), none,
         "approximated", "joint-speed-reference", {"config-placeholder", "joint-speed-approximated"}, "XP1; v500; fine" + abbRefs},
        {"PTP % without --joint-speed", K::kuka, K::abb, kukaPtp(50, stop()), noJointSpeed,
         "refused", "joint-speed-needs-reference", {}, ""},
        {"PTP without --config", K::kuka, K::abb, kukaPtp(50, stop()), noConfig,
         "refused", "joint-motion-needs-config", {}, ""},
        {"C_PTP through --blend", K::kuka, K::abb, kukaPtp(100, blendOf(BK::kukaPtp, 50)), blends({"C_PTP50=z20"}),
         "approximated", "joint-speed-reference", {"config-placeholder", "joint-speed-approximated", "blend-approximated"},
         "XP1; v1000; z20" + abbRefs},
        {"C_VEL without an entry", K::kuka, K::abb, kukaLin(cp, blendOf(BK::kukaVelocity, 80)), none,
         "approximated", "blend-default", {"config-placeholder", "blend-default"}, "XP1; " + std::string(own250) + "; z1" + abbRefs},
        {"base 0 unmapped", K::kuka, K::abb, withBase(number(0)), none, "refused", "world-frame", {}, ""},
        {"base 0 mapped explicitly", K::kuka, K::abb, withBase(number(0)), frame(number(0), named("wobj0")),
         "translated", "linear-motion", conf, "XP1; " + std::string(own250) + "; fine; wobj0; tGripper"},
        {"base missing from --frame", K::kuka, K::abb, withBase(number(5)), none, "refused", "frame-missing", {}, ""},
        {"tool missing from --tool", K::kuka, K::abb, motion(MK::linear, "XP1", cp, stop(), number(3), number(2)), none,
         "refused", "tool-missing", {}, ""},
        {"base never set", K::kuka, K::abb, withBase(Reference{}), none, "refused", "frame-unknown", {}, ""},
        {"PTP to axis values, without --config", K::kuka, K::abb, kukaPtp(50, stop(), "JHOME"), noConfig,
         "kept", "joint-target", {"joint-target-kept"}, ""},
        {"external axes", K::kuka, K::abb, kukaLin(cp, stop(), "XRAIL"), none, "kept", "external-axes", {"external-axes-kept"}, ""},
        {"untaught point", K::kuka, K::abb, kukaLin(cp, stop(), "XNEW"), none, "kept", "point-untaught", {"point-untaught-kept"}, ""},
        {"undeclared point, unmapped tool", K::kuka, K::abb, motion(MK::linear, "XELSE", cp, stop(), number(3), number(9)), none,
         "kept", "point-unknown", {"point-unknown-kept"}, ""},
        {"no speed set", K::kuka, K::abb, kukaLin(Speed{}, stop()), none, "kept", "speed-unsupported", {"speed-kept"}, ""},
        {"mapped output", K::kuka, K::abb, output("$OUT[3]", true), none, "translated", "digital-output", {}, "doGrip on"},
        {"unmapped output", K::kuka, K::abb, output("$OUT[4]", true), none, "kept", "signal-unmapped", {"signal-unmapped"}, ""},
        {"output after a blended motion", K::kuka, K::abb, output("$OUT[3]", false), none,
         "approximated", "io-near-blend", {"io-near-blend"}, "doGrip off",
         {kukaLin(cp, blendOf(BK::kukaDistance, 10)), commentOf("between")}},
        {"output after a stop", K::kuka, K::abb, output("$OUT[3]", false), none,
         "translated", "digital-output", {}, "doGrip off", {kukaLin(cp, stop())}},
        {"pulse", K::kuka, K::abb, output("$OUT[3]", true, true, 0.5), none, "translated", "digital-output", {}, "doGrip pulse 0.50"},
        {"pulse of the low level", K::kuka, K::abb, output("$OUT[3]", false, true, 0.5), none,
         "kept", "pulse-length-unknown", {"pulse-kept"}, ""},
        {"output mapped onto an input", K::kuka, K::abb, output("$OUT[3]", true), outputToInput, "refused", "signal-mismatch", {}, ""},
        {"wait for an input", K::kuka, K::abb, waitInput("$IN[2]", true), none, "translated", "wait-input", {}, "diPart on"},
        {"wait time", K::kuka, K::abb, waitTime(0.125), none, "translated", "wait-time", {}, "0.125"},
        {"comment", K::kuka, K::abb, commentOf("approach"), none, "translated", "comment", {}, "approach"},
        {"a branch the reader kept", K::kuka, K::abb, kept("IF $IN[1] THEN", WarningCode::logicKept, 7), none,
         "kept", "kept-construct", {"logic-kept"}, "IF $IN[1] THEN"},
        {"call", K::kuka, K::abb, named(StatementKind::call, "pick_part"), none, "translated", "call", {}, "pick_part"},
        {"point declaration", K::kuka, K::abb, declaration("XP1", point(K::kuka, {1, 2, 3, 0, 0, 0}, "XP1", "S 2, T 10")), none,
         "translated", "point-declaration", conf, "XP1"},
        {"joint target declaration", K::kuka, K::abb, jointDeclaration(), none, "kept", "joint-target", {"joint-target-kept"}, ""},
        // KUKA -> FANUC
        {"m/s to mm/sec", K::kuka, K::fanuc, kukaLin(cp, stop()), none, "translated", "linear-motion", conf, "XP1; 250 mm/s; stop; 3; 1"},
        {"m/s to cm/min", K::kuka, K::fanuc, kukaLin(pathSpeed(0.2505f, PU::metresPerSecond), stop()), none,
         "translated", "linear-motion", conf, "XP1; 1503 cm/min; stop; 3; 1"},
        {"m/s rounded", K::kuka, K::fanuc, kukaLin(pathSpeed(0.12345f, PU::metresPerSecond), stop()), none,
         "approximated", "path-speed-rounded", {"config-placeholder", "path-speed-rounded"}, "XP1; 123 mm/s; stop; 3; 1"},
        {"% to %", K::kuka, K::fanuc, kukaPtp(50, stop()), none, "translated", "joint-motion-cartesian", conf, "XP1; 50 %; stop; 3; 1"},
        {"% rounded", K::kuka, K::fanuc, kukaPtp(33.4f, stop()), none,
         "approximated", "joint-speed-percent-rounded", {"config-placeholder", "joint-speed-rounded"}, "XP1; 33 %; stop; 3; 1"},
        {"C_DIS matched by millimetres", K::kuka, K::fanuc, kukaLin(cp, blendOf(BK::kukaDistance, 10)),
         blends({"CNT100=z50", "z10=CNT30"}), "approximated", "blend-map", {"config-placeholder", "blend-approximated"},
         "XP1; 250 mm/s; CNT30; 3; 1"},
        {"C_DIS without an entry", K::kuka, K::fanuc, kukaLin(cp, blendOf(BK::kukaDistance, 10)), none,
         "approximated", "blend-default", {"config-placeholder", "blend-default"}, "XP1; 250 mm/s; CNT1; 3; 1"},
        {"pulse rounded to tenths", K::kuka, K::fanuc, output("$OUT[3]", true, true, 0.26), none,
         "approximated", "pulse-rounded", {"pulse-rounded"}, "DO[3] pulse 0.30"},
        {"wait rounded to hundredths", K::kuka, K::fanuc, waitTime(0.123), none,
         "approximated", "wait-time-rounded", {"wait-rounded"}, "0.120"},
        {"declaration for FANUC", K::kuka, K::fanuc, declaration("XP1", point(K::kuka, {1, 2, 3, 0, 0, 0}, "XP1")), none,
         "structural", "point-with-motion", {}, "XP1"},
        {"a long routine name", K::kuka, K::fanuc, named(StatementKind::routineStart, "pick_part"), none,
         "structural", "routine", {"name-adapted"}, "PICK_PAR"},
        // ABB -> KUKA
        {"MoveL v500 z10", K::abb, K::kuka, abbMove(MK::linear, abbSpeed("v500"), abbZone("z10")), none,
         "translated", "linear-motion", conf, "p10; 0.5 m/s; C_DIS 10; 3; 1"},
        {"own speeddata", K::abb, K::kuka, abbMove(MK::linear, abbSpeed("vGlue", {333, 200, 5000, 1000}), abbZone("fine")), none,
         "translated", "linear-motion", conf, "p10; 0.333 m/s; stop; 3; 1"},
        {"vmax on a path", K::abb, K::kuka, abbMove(MK::linear, abbSpeed("vmax"), abbZone("z10")), none,
         "kept", "speed-unsupported", {"speed-kept"}, ""},
        {"MoveJ through --joint-speed", K::abb, K::kuka, abbMove(MK::joint, abbSpeed("v1000"), abbZone("z50")),
         [](TranslationOptions& o) { o.jointSpeed = 2000; }, "approximated", "joint-speed-reference",
         {"config-placeholder", "joint-speed-approximated"}, "p10; 50 %; C_DIS 50; 3; 1"},
        {"own zone with finep", K::abb, K::kuka, abbMove(MK::linear, abbSpeed("v500"), abbZone("zStop", {1, 10, 15, 15, 1.5f, 15, 1.5f})),
         none, "translated", "linear-motion", conf, "p10; 0.5 m/s; stop; 3; 1"},
        {"undeclared zonedata", K::abb, K::kuka, abbMove(MK::linear, abbSpeed("v500"), abbZone("zMine")), none,
         "kept", "blend-unsupported", {"blend-kept"}, ""},
        {"wobj0 unmapped", K::abb, K::kuka, abbMove(MK::linear, abbSpeed("v500"), abbZone("fine"), "WOBJ0"), none,
         "refused", "world-frame", {}, ""},
        {"main becomes the program's DEF", K::abb, K::kuka, named(StatementKind::routineStart, "main", true), none,
         "structural", "routine", {"name-adapted"}, "Weld"},
        // ABB -> FANUC
        {"MoveJ v1000 at 1000 mm/s", K::abb, K::fanuc, abbMove(MK::joint, abbSpeed("v1000"), abbZone("z50")),
         blends({"C_DIS50=CNT40"}), "approximated", "joint-speed-reference",
         {"config-placeholder", "joint-speed-approximated", "blend-approximated"}, "p10; 100 %; CNT40; 3; 1"},
        // FANUC -> KUKA
        {"mm/sec to m/s", K::fanuc, K::kuka, fanucMove(MK::linear, mm250, stop()), none,
         "translated", "linear-motion", conf, "APPROACH; 0.25 m/s; stop; 3; 1"},
        {"cm/min to m/s", K::fanuc, K::kuka, fanucMove(MK::linear, pathSpeed(100, PU::centimetresPerMinute), stop()), none,
         "translated", "linear-motion", conf, "APPROACH; 0.016666668 m/s; stop; 3; 1"},
        {"CNT to C_PTP on a joint move", K::fanuc, K::kuka, fanucMove(MK::joint, percent(50), blendOf(BK::fanucCnt, 50)),
         blends({"CNT50=C_PTP30"}), "approximated", "blend-map", {"config-placeholder", "blend-approximated"},
         "APPROACH; 50 %; C_PTP 30; 3; 1"},
        {"C_VEL does not fit a joint move", K::fanuc, K::kuka, fanucMove(MK::joint, percent(50), blendOf(BK::fanucCnt, 50)),
         blends({"CNT50=C_VEL30"}), "approximated", "blend-default", {"config-placeholder", "blend-default"},
         "APPROACH; 50 %; C_DIS 1; 3; 1"},
        {"UF 0 mapped explicitly", K::fanuc, K::kuka, fanucMove(MK::linear, mm250, stop(), 0), frame(number(0), number(0)),
         "translated", "linear-motion", conf, "APPROACH; 0.25 m/s; stop; 0; 1"},
        {"UF 0 unmapped", K::fanuc, K::kuka, fanucMove(MK::linear, mm250, stop(), 0), none, "refused", "world-frame", {}, ""},
        {"pulse without a length", K::fanuc, K::kuka, output("DO[3]", true, true), none, "kept", "pulse-length-unknown", {"pulse-kept"}, ""},
        // FANUC -> ABB
        {"CNT100 through --blend", K::fanuc, K::abb, fanucMove(MK::linear, mm250, blendOf(BK::fanucCnt, 100)), blends({"CNT100=z50"}),
         "approximated", "blend-map", {"config-placeholder", "blend-approximated"}, "APPROACH; " + std::string(own250) + "; z50" + abbRefs},
        {"J % through --joint-speed", K::fanuc, K::abb, fanucMove(MK::joint, percent(37), stop()), none,
         "approximated", "joint-speed-reference", {"config-placeholder", "joint-speed-approximated"},
         "APPROACH; speed370 [370,500,5000,1000]; fine" + abbRefs},
        // the same vendor: the identity where it translates
        {"KUKA to KUKA", K::kuka, K::kuka, motion(MK::linear, "XP1", cp, blendOf(BK::kukaVelocity, 80), number(7), number(4)), none,
         "translated", "linear-motion", conf, "XP1; 0.25 m/s; C_VEL 80; 7; 4"},
        {"KUKA to KUKA, PTP without --config", K::kuka, K::kuka, kukaPtp(50, stop()), noConfig, "refused", "joint-motion-needs-config", {}, ""},
        {"ABB to ABB needs no joint speed", K::abb, K::abb, abbMove(MK::joint, abbSpeed("v1000"), abbZone("z50")), noJointSpeed,
         "translated", "joint-motion-cartesian", conf, "p10; v1000; z50" + abbRefs},
        {"FANUC to FANUC, unmapped signal", K::fanuc, K::fanuc, output("DO[9]", true), none, "translated", "digital-output", {}, "DO[9] on"},
    };
    // clang-format on
}

std::string outcomeOf(const StatementOutcome& out) {
    return out.refused ? "refused" : dispositionName(out.annotation.disposition);
}

TEST(StatementRules, EachCaseGetsItsRuleWarningsAndTarget) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(std::string(c.what) + " (" + vendorName(c.from) + " to " + vendorName(c.to) +
                     ")");
        TranslationOptions options = optionsFor(c.from, c.to);
        c.tweak(options);
        ProgramInfo source;
        source.name = "Weld";
        source.vendor = c.from;
        ProgramInfo target;
        TranslationState state;
        bool renamed = false;
        startTranslation(source, options, state, target, renamed);
        const PointTable points = sourcePoints(c.from);
        StatementOutcome out;
        for (const Statement& earlier : c.before) {
            translateStatement(state, points, earlier, out);
        }
        translateStatement(state, points, c.statement, out);
        EXPECT_EQ(outcomeOf(out), c.outcome) << out.refusal;
        EXPECT_STREQ(rule(out.rule).name, c.rule);
        std::vector<std::string> warnings;
        for (const Note& note : out.annotation.notes) {
            warnings.push_back(warningWord(note.code));
        }
        if (!out.refused) {
            EXPECT_EQ(warnings, c.warnings);
        } else {
            EXPECT_FALSE(out.refusal.empty());
        }
        if (!c.target.empty()) {
            EXPECT_EQ(describe(out.target), c.target);
        }
    }
}

TEST(StatementRules, NotesCarryTheSourceValueTheyReplace) {
    TranslationOptions options = optionsFor(K::kuka, K::fanuc);
    ProgramInfo source{"Pick", K::kuka, {"Pick.src"}, "Pick"};
    ProgramInfo target;
    TranslationState state;
    bool renamed = false;
    startTranslation(source, options, state, target, renamed);
    StatementOutcome out;
    translateStatement(state, sourcePoints(K::kuka), kukaPtp(33.4f, blendOf(BK::kukaPtp, 50)), out);
    ASSERT_EQ(out.annotation.notes.size(), 3u);
    EXPECT_EQ(out.annotation.notes[0].was, "S 2, T 10");
    EXPECT_EQ(out.annotation.notes[1].was, "33.4 %");
    EXPECT_EQ(out.annotation.notes[2].was, "C_PTP 50");
}

TEST(StatementRules, RefusalsSayWhatToGive) {
    TranslationOptions options = optionsFor(K::kuka, K::abb);
    ProgramInfo source{"Pick", K::kuka, {"Pick.src"}, "Pick"};
    ProgramInfo target;
    TranslationState state;
    bool renamed = false;
    startTranslation(source, options, state, target, renamed);
    StatementOutcome out;
    translateStatement(
        state, sourcePoints(K::kuka),
        motion(MK::linear, "XP1", pathSpeed(1, PU::metresPerSecond), stop(), number(5), number(1)),
        out);
    EXPECT_EQ(out.refusal, "KUKA base 5 is not in --frame (give --frame 5=<ABB work object>)");
}

TEST(StatementRules, ProgramAndMainRoutineTakeEachTargetsEntryName) {
    struct Entry {
        Vendor to;
        const char* source;
        const char* program;
        const char* main;
        bool renamed;
    } entries[] = {
        {K::kuka, "pallet_layer_with_a_long_name", "pallet_layer_with_a_long",
         "pallet_layer_with_a_long", true},
        {K::abb, "Weld", "Weld", "main", false},
        {K::fanuc, "glue_bead", "GLUE_BEA", "GLUE_BEA", true},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.source);
        TranslationOptions options = optionsFor(K::kuka, e.to);
        ProgramInfo source{e.source, K::kuka, {}, e.source};
        ProgramInfo target;
        TranslationState state;
        bool renamed = false;
        startTranslation(source, options, state, target, renamed);
        EXPECT_EQ(target.name, e.program);
        EXPECT_EQ(target.mainRoutine, e.main);
        EXPECT_EQ(renamed, e.renamed);
        // A call to the main routine calls the target's entry.
        StatementOutcome out;
        translateStatement(state, PointTable{}, named(StatementKind::call, e.source), out);
        EXPECT_EQ(out.target.name, e.main);
    }
}

} // namespace
