// The three writers on a small model each: the exact text of the target
// files, written here from the vendors' syntax, where each statement landed,
// and the files read back by the readers `list` uses.

#include "robotfiles/fanuc/program_writer.h"
#include "robotfiles/file_scan.h"
#include "robotfiles/krl/program_writer.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/rapid/program_writer.h"
#include "tests/translation/model_builders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using MK = MotionKind;
using PU = PathUnit;

struct Written {
    MemoryFiles files;
    OutputLedger ledger;
    std::map<std::uint64_t, TargetPlace> landed;
    std::vector<std::pair<TargetPlace, std::string>> generated;
};

void startLedger(Written& w) {
    w.ledger.sink = w.files.sink();
    w.ledger.report.landed = [&w](std::uint64_t ticket, const TargetPlace& place) {
        EXPECT_TRUE(w.landed.emplace(ticket, place).second) << "ticket " << ticket << " twice";
    };
    w.ledger.report.generated = [&w](const TargetPlace& place, const char* what) {
        w.generated.emplace_back(place, what);
    };
}

// A statement in the target's terms with its annotation.
struct Step {
    Statement statement;
    Annotation annotation;
};

Annotation notes(std::vector<Note> list = {}, Disposition d = Disposition::translated) {
    Annotation a;
    a.disposition = d;
    a.notes = std::move(list);
    return a;
}

MotionPoint namedPoint(const Point& p) {
    MotionPoint m;
    m.key = p.name;
    m.point = p;
    return m;
}

MotionPoint inlinePoint(const Point& p) {
    MotionPoint m;
    m.point = p;
    return m;
}

Statement move(MotionKind kind, MotionPoint target, Speed speed, Blend blend, Reference frame,
               Reference tool, MotionPoint via = {}) {
    Statement s = statementOf(StatementKind::motion);
    s.motion.kind = kind;
    s.motion.target = std::move(target);
    s.motion.via = std::move(via);
    s.motion.speed = speed;
    s.motion.blend = blend;
    s.motion.frame = frame;
    s.motion.tool = tool;
    return s;
}

Statement routine(const char* name, bool main, const char* comment = "") {
    Statement s = named(StatementKind::routineStart, name, main);
    s.comment = comment;
    return s;
}

const Note placeholder{WarningCode::configPlaceholder, ""};

// An expected target file, written by hand from the vendor's syntax (LF line ends).
std::string fixture(const std::string& name) {
    std::ifstream file(std::string(POSEBRIDGE_TRANSLATION_FIXTURES) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<PoseRecord> readBack(const std::string& bytes, Vendor vendor) {
    std::vector<PoseRecord> poses;
    ScanCallbacks out;
    out.pose = [&](const PoseRecord& pose) { poses.push_back(pose); };
    out.warning = [](const ScanWarning& warning) {
        ADD_FAILURE() << warning.line << ": " << warning.message;
    };
    scanText(bytes, vendor, out);
    return poses;
}

::testing::AssertionResult sameMatrix(const Transform& a, const Transform& b, double tolerance) {
    for (int k = 0; k < 16; ++k) {
        if (!(std::fabs(a.e[k] - b.e[k]) <= tolerance)) {
            return ::testing::AssertionFailure()
                   << "element " << k << ": " << a.e[k] << " vs " << b.e[k];
        }
    }
    return ::testing::AssertionSuccess();
}

// ------------------------------------------------------------------ KRL

const Point xp1 = point(Vendor::kuka, {500, 0, 600, 0, 90, 0}, "XP1", "S 2, T 10");
const Point xp2 = point(Vendor::abb, {600, 0, 600, 0.70710677f, 0, 0, 0.70710677f}, "XP2");

std::vector<Step> krlModel() {
    const Speed fast = pathSpeed(0.25f, PU::metresPerSecond);
    return {
        {declaration("XP1", xp1), notes({{WarningCode::configPlaceholder, "S 2, T 10"}})},
        {routine("PICK", true), notes({}, Disposition::structural)},
        {commentOf("approach"), notes()},
        {move(MK::joint, namedPoint(xp1), percent(50), stop(), number(3), number(1)),
         notes({placeholder})},
        {move(MK::linear, inlinePoint(point(Vendor::kuka, {510.5f, -20.25f, 600, 0, 90, 0})), fast,
              blendOf(BlendKind::kukaDistance, 10), number(3), number(1)),
         notes({placeholder, {WarningCode::blendDefault, "CNT50"}}, Disposition::approximated)},
        {move(MK::circular, namedPoint(xp2), fast, blendOf(BlendKind::kukaDistance, 10), number(3),
              number(1), namedPoint(xp1)),
         notes()},
        {waitTime(0.5), notes()},
        {output("$OUT[3]", true), notes()},
        {output("$OUT[4]", true, true, 0.2), notes()},
        {waitInput("$IN[2]", false), notes()},
        {named(StatementKind::call, "PLACE"), notes()},
        {[] {
             Statement s = kept("IF $IN[1] THEN\nLIN XP1", WarningCode::logicKept, 12);
             s.place.lastLine = 13;
             return s;
         }(),
         notes({{WarningCode::logicKept, ""}}, Disposition::kept)},
        {statementOf(StatementKind::routineEnd), notes({}, Disposition::structural)},
        {routine("PLACE", false), notes({}, Disposition::structural)},
        {move(MK::linear, namedPoint(xp1), fast, stop(), number(3), number(1)), notes()},
        {statementOf(StatementKind::routineEnd), notes({}, Disposition::structural)},
    };
}

TEST(KrlProgramWriter, WritesPlainKrlWithItsInitialisationAndData) {
    Written w;
    startLedger(w);
    KrlProgramWriter writer;
    ASSERT_TRUE(startKrlProgram(writer, w.ledger, ProgramInfo{"PICK", Vendor::kuka, {}, "PICK"},
                                ProgramInfo{"Pick", Vendor::fanuc, {"PICK.LS"}, "PICK"}));
    std::uint64_t ticket = 0;
    for (const Step& step : krlModel()) {
        ASSERT_TRUE(writeKrlStatement(writer, step.statement, step.annotation, ++ticket))
            << writer.message;
    }
    ASSERT_TRUE(finishKrlProgram(writer));

    EXPECT_EQ(w.files.text("PICK.src"), fixture("PICK.src"));
    EXPECT_EQ(w.files.text("PICK.dat"), fixture("PICK.dat"));
    // Controllers' files end their lines with CR LF, every one.
    const std::string bytes = w.files.bytes("PICK.src");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
              std::count(bytes.begin(), bytes.end(), '\r'));

    // Tickets: 1 the declaration, 4 the PTP, 14 the second DEF, 12 the kept lines.
    const auto line = [&](std::uint64_t t) { return finalLine(w.ledger, w.landed.at(t)); };
    EXPECT_EQ(w.ledger.names[static_cast<std::size_t>(w.landed.at(1).file)], "PICK.dat");
    EXPECT_EQ(line(1), 4u);
    EXPECT_EQ(line(4), 10u);
    EXPECT_EQ(line(12), 20u);
    EXPECT_EQ(line(14), 23u);
    EXPECT_EQ(w.landed.size(), 16u);
    // Headers, initialisation, settings, the declaration XP2 and ENDDAT.
    EXPECT_EQ(w.generated.size(), 2u + 3u + 2u + 5u + 3u + 1u + 1u);

    const std::vector<PoseRecord> poses = readBack(w.files.bytes("PICK.dat"), Vendor::kuka);
    ASSERT_EQ(poses.size(), 2u);
    for (std::size_t k = 0; k < poses.size(); ++k) {
        Transform m;
        ASSERT_TRUE(transformOfRecord(poses[k], m));
        EXPECT_TRUE(sameMatrix(m, (k == 0 ? xp1 : xp2).pose.matrix, 1e-4));
    }
}

TEST(KrlProgramWriter, PutsTheMainRoutineFirstWhereverItCame) {
    Written w;
    startLedger(w);
    KrlProgramWriter writer;
    ASSERT_TRUE(startKrlProgram(writer, w.ledger, ProgramInfo{"CELL", Vendor::kuka, {}, "CELL"},
                                ProgramInfo{"cell", Vendor::abb, {"cell.mod"}, "main"}));
    const std::vector<Statement> model = {
        routine("helper", false), statementOf(StatementKind::routineEnd), routine("CELL", true),
        named(StatementKind::call, "helper"), statementOf(StatementKind::routineEnd)};
    std::uint64_t ticket = 0;
    for (const Statement& s : model) {
        ASSERT_TRUE(writeKrlStatement(writer, s, notes(), ++ticket));
    }
    ASSERT_TRUE(finishKrlProgram(writer));
    EXPECT_EQ(w.files.text("CELL.src"), "&ACCESS RVP\n&REL 1\nDEF CELL( )\n  BAS(#INITMOV, 0)\n"
                                        "  PTP $AXIS_ACT\n  helper( )\nEND\nDEF helper( )\nEND\n");
    EXPECT_EQ(finalLine(w.ledger, w.landed.at(1)), 8u);
}

TEST(KrlProgramWriter, RefusesAnotherVendorsTerms) {
    Written w;
    startLedger(w);
    KrlProgramWriter writer;
    ASSERT_TRUE(startKrlProgram(writer, w.ledger, ProgramInfo{"P", Vendor::kuka, {}, "P"},
                                ProgramInfo{"P", Vendor::abb, {}, "main"}));
    ASSERT_TRUE(writeKrlStatement(writer, routine("P", true), notes(), 1));
    EXPECT_FALSE(writeKrlStatement(
        writer, move(MK::linear, namedPoint(xp1), abbSpeed("v100"), stop(), number(1), number(1)),
        notes(), 2));
    EXPECT_FALSE(writer.message.empty());
}

// ------------------------------------------------------------------ RAPID

const Point p10 = point(Vendor::abb, {500, 0, 600, 0, 0, 1, 0}, "p10", "[0,0,1,0]");
const Point p20 = point(Vendor::abb, {600, 0, 600, 0, 0, 1, 0}, "p20");

std::vector<Step> rapidModel() {
    Speed own = abbSpeed("speed250", {250, 500, 5000, 1000});
    Speed v1000 = abbSpeed("v1000");
    v1000.predefined = true;
    Blend z50 = abbZone("z50");
    z50.predefined = true;
    Blend fine = stop();
    return {
        {commentOf("cell 4"), notes()},
        {declaration("p10", p10), notes({{WarningCode::configPlaceholder, "[0,0,1,0]"}})},
        {routine("main", true), notes({}, Disposition::structural)},
        {move(MK::joint, namedPoint(p10), v1000, z50, named("wobjTable"), named("tGripper")),
         notes({placeholder, {WarningCode::jointSpeedApproximated, "50 %"}},
               Disposition::approximated)},
        {move(MK::linear, inlinePoint(point(Vendor::kuka, {500, 0, 600, 0, 90, 0})), own,
              abbZone("zone12", {0, 12, 18, 18, 1.8f, 18, 1.8f}), named("wobjTable"),
              named("tGripper")),
         notes()},
        {move(MK::circular, namedPoint(p20), v1000, fine, named("wobjTable"), named("tGripper"),
              namedPoint(p10)),
         notes()},
        {waitTime(1.5), notes()},
        {output("doGrip", true), notes()},
        {output("doGrip", true, true, 0.2), notes()},
        {waitInput("diPart", true), notes()},
        {named(StatementKind::call, "place"), notes()},
        {[] {
             Statement s = kept("PTP {A1 0,A2 -90}", WarningCode::jointTargetKept, 20);
             return s;
         }(),
         notes({{WarningCode::jointTargetKept, ""}}, Disposition::kept)},
        {statementOf(StatementKind::routineEnd), notes({}, Disposition::structural)},
    };
}

TEST(RapidProgramWriter, WritesOneModuleWithItsDataBeforeItsRoutines) {
    Written w;
    startLedger(w);
    RapidProgramWriter writer;
    ASSERT_TRUE(startRapidProgram(writer, w.ledger, ProgramInfo{"Weld", Vendor::abb, {}, "main"},
                                  ProgramInfo{"weld", Vendor::kuka, {"weld.src"}, "weld"}));
    std::uint64_t ticket = 0;
    for (const Step& step : rapidModel()) {
        ASSERT_TRUE(writeRapidStatement(writer, step.statement, step.annotation, ++ticket))
            << writer.message;
    }
    ASSERT_TRUE(finishRapidProgram(writer));
    EXPECT_EQ(w.files.text("Weld.mod"), fixture("Weld.mod"));
    // The routine's lines stand after every declaration, made or given.
    EXPECT_EQ(finalLine(w.ledger, w.landed.at(3)), 7u);
    EXPECT_EQ(finalLine(w.ledger, w.landed.at(2)), 3u);
    EXPECT_EQ(finalLine(w.ledger, w.landed.at(12)), 18u);

    const std::vector<PoseRecord> poses = readBack(w.files.bytes("Weld.mod"), Vendor::abb);
    ASSERT_EQ(poses.size(), 3u); // p10, p20 and the robtarget written in MoveL
    Transform m;
    ASSERT_TRUE(transformOfRecord(poses[2], m));
    EXPECT_TRUE(sameMatrix(m, point(Vendor::kuka, {500, 0, 600, 0, 90, 0}).pose.matrix, 1e-6));
}

// ------------------------------------------------------------------ FANUC

std::vector<Step> fanucModel() {
    const Speed mm250 = pathSpeed(250, PU::millimetresPerSecond);
    const Point kukaXp2 = point(Vendor::kuka, {600, 0, 600, 0, 90, 0}, "XP2");
    return {
        {commentOf("from the dat"), notes()},
        {routine("PICK", true, "Pick"), notes({}, Disposition::structural)},
        {move(MK::joint, namedPoint(xp1), percent(50), stop(), number(3), number(1)),
         notes({{WarningCode::configPlaceholder, "S 2, T 10"}})},
        {move(MK::linear,
              inlinePoint(point(Vendor::abb, {600, -20.25f, 600, 0.70710677f, 0, 0, 0.70710677f})),
              mm250, blendOf(BlendKind::fanucCnt, 1), number(3), number(1)),
         notes()},
        {move(MK::circular, namedPoint(kukaXp2), mm250, stop(), number(3), number(1),
              namedPoint(xp1)),
         notes()},
        {move(MK::linear, namedPoint(xp1), mm250, stop(), number(4), number(1)), notes()},
        {waitTime(0.5), notes()},
        {output("DO[3]", true), notes()},
        {output("DO[4]", true, true, 0.5), notes()},
        {waitInput("DI[2]", false), notes()},
        {named(StatementKind::call, "PLACE"), notes()},
        {kept("IF $IN[1] THEN", WarningCode::logicKept, 12),
         notes({{WarningCode::logicKept, ""}}, Disposition::kept)},
        {commentOf("a comment longer than thirty-two characters"), notes()},
        {statementOf(StatementKind::routineEnd), notes({}, Disposition::structural)},
        {routine("PLACE", false, "place"), notes({}, Disposition::structural)},
        {move(MK::linear, namedPoint(kukaXp2), mm250, stop(), number(3), number(1)), notes()},
        {statementOf(StatementKind::routineEnd), notes({}, Disposition::structural)},
    };
}

TEST(FanucProgramWriter, WritesOneLsProgramARoutineWithItsAttrAndPositions) {
    Written w;
    startLedger(w);
    FanucProgramWriter writer;
    ASSERT_TRUE(startFanucProgram(writer, w.ledger, ProgramInfo{"PICK", Vendor::fanuc, {}, "PICK"},
                                  ProgramInfo{"Pick", Vendor::kuka, {"Pick.src"}, "Pick"},
                                  WriterSettings{"24-05-02", "16:05:48"}));
    std::uint64_t ticket = 0;
    for (const Step& step : fanucModel()) {
        ASSERT_TRUE(writeFanucStatement(writer, step.statement, step.annotation, ++ticket))
            << writer.message;
    }
    ASSERT_TRUE(finishFanucProgram(writer));
    EXPECT_EQ(w.files.text("PICK.LS"), fixture("PICK.LS"));
    EXPECT_EQ(w.files.text("PLACE.LS"), fixture("PLACE.LS"));

    const auto line = [&](std::uint64_t t) { return finalLine(w.ledger, w.landed.at(t)); };
    EXPECT_EQ(line(1), 22u);  // held until the first routine opened
    EXPECT_EQ(line(2), 1u);   // the routine: its /PROG line
    EXPECT_EQ(line(3), 27u);  // the J motion, after its settings and note
    EXPECT_EQ(line(14), 67u); // the end: /END, after four positions of 6 lines
    EXPECT_EQ(line(15), 1u);
    EXPECT_EQ(w.landed.size(), 17u);

    const std::vector<PoseRecord> poses = readBack(w.files.bytes("PICK.LS"), Vendor::fanuc);
    ASSERT_EQ(poses.size(), 4u);
    Transform m;
    ASSERT_TRUE(transformOfRecord(poses[1], m));
    EXPECT_TRUE(sameMatrix(
        m, point(Vendor::abb, {600, -20.25f, 600, 0.70710677f, 0, 0, 0.70710677f}).pose.matrix,
        1e-5));
}

TEST(FanucProgramWriter, RefusesAProgramOfMoreThan9999Lines) {
    Written w;
    startLedger(w);
    FanucProgramWriter writer;
    ASSERT_TRUE(startFanucProgram(writer, w.ledger, ProgramInfo{"BIG", Vendor::fanuc, {}, "BIG"},
                                  ProgramInfo{"big", Vendor::kuka, {"big.src"}, "big"},
                                  WriterSettings{}));
    ASSERT_TRUE(writeFanucStatement(writer, routine("BIG", true), notes(), 0));
    std::uint64_t written = 0;
    while (writeFanucStatement(writer, waitTime(1), notes(), ++written)) {
        ASSERT_LE(written, 10000u);
    }
    EXPECT_EQ(written, 10000u);
    EXPECT_EQ(writer.message, "the FANUC program BIG would have more than 9999 lines");
}

} // namespace
