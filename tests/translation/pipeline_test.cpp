// One program through the whole path: model statements as a reader would
// hand them over, translated statement by statement, written by the target's
// writer, read back by the readers `list` uses; and the way back.

#include "robotfiles/file_scan.h"
#include "robotfiles/pose_matrix.h"
#include "robotfiles/program_writers.h"
#include "tests/translation/model_builders.h"
#include "translation/translate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

using K = Vendor;
using MK = MotionKind;

// A KRL program of inline forms, as its reader will hand it over: the .dat's
// declarations, then the .src's statements, each with its file and line.
struct SourceProgram {
    ProgramInfo info{"pick", K::kuka, {"pick.dat", "pick.src"}, "pick"};
    PointTable points;
    std::vector<Statement> statements;
};

Statement at(Statement s, std::uint32_t file, std::uint64_t line) {
    s.place = SourceSpan{file, line, line};
    return s;
}

SourceProgram kukaProgram() {
    SourceProgram p;
    const Point xp1 = point(K::kuka, {812.5f, -140.25f, 930, 0, 90, 0}, "XP1", "S 2, T 10");
    const Point xp2 = point(K::kuka, {900, 0, 450.125f, -45.5f, 179.25f, 0.5f}, "XP2", "S 6, T 3");
    const Point xp3 = point(K::kuka, {950, 60, 450.125f, -30, 179.25f, 0.5f}, "XP3", "S 6, T 3");
    for (const Point* q : {&xp1, &xp2, &xp3}) {
        addPoint(p.points, q->name, *q);
    }
    const Speed cp = pathSpeed(0.25f, PathUnit::metresPerSecond);
    p.statements = {
        at(statementOf(StatementKind::structural), 0, 1),
        at(declaration("XP1", xp1), 0, 2),
        at(declaration("XP2", xp2), 0, 3),
        at(declaration("XP3", xp3), 0, 4),
        at(statementOf(StatementKind::structural), 0, 5),
        at(named(StatementKind::routineStart, "pick", true), 1, 1),
        at(commentOf("approach the table"), 1, 2),
        at(motion(MK::joint, "XP1", percent(50), stop(), number(3), number(1)), 1, 3),
        at(motion(MK::linear, "XP2", cp, blendOf(BlendKind::kukaDistance, 10), number(3),
                  number(1)),
           1, 4),
        at(output("$OUT[3]", true), 1, 5),
        at(motion(MK::circular, "XP3", cp, stop(), number(3), number(1), "XP2"), 1, 6),
        at(waitTime(0.5), 1, 7),
        at(kept("IF $IN[1] THEN", WarningCode::logicKept, 8), 1, 8),
        at(statementOf(StatementKind::blank), 1, 9),
        at(named(StatementKind::routineEnd, ""), 1, 10),
    };
    return p;
}

TranslationOptions optionsTo(K target) {
    TranslationOptions o;
    o.target = target;
    o.configController = true;
    o.jointSpeed = 1000;
    // One table for both ways: each entry serves the direction of its words.
    for (const char* entry : {"C_DIS10=CNT30", "CNT30=C_DIS10"}) {
        BlendPair pair;
        std::string message;
        EXPECT_TRUE(parseBlendPair(entry, pair, message));
        o.blends.push_back(pair);
    }
    if (target == K::abb) {
        o.frames.push_back({number(3), named("wobjTable")});
        o.tools.push_back({number(1), named("tGripper")});
        o.signals.push_back({"$OUT[3]", "doGrip"});
    } else {
        o.frames.push_back({number(3), number(3)});
        o.tools.push_back({number(1), number(1)});
        o.signals.push_back({"$OUT[3]", target == K::fanuc ? "DO[3]" : "$OUT[3]"});
    }
    return o;
}

struct Translated {
    MemoryFiles files;
    OutputLedger ledger;
    std::map<std::uint64_t, TargetPlace> landed;
    std::vector<StatementOutcome> outcomes;
    ProgramInfo target;
};

// Translates and writes; each statement's ticket is its index.
void run(const SourceProgram& source, const TranslationOptions& options, Translated& out) {
    out.ledger.sink = out.files.sink();
    out.ledger.report.landed = [&out](std::uint64_t ticket, const TargetPlace& place) {
        EXPECT_TRUE(out.landed.emplace(ticket, place).second);
    };
    TranslationState state;
    bool renamed = false;
    startTranslation(source.info, options, state, out.target, renamed);
    ProgramWriter writer;
    ASSERT_TRUE(startProgramWriter(writer, out.ledger, out.target, source.info, WriterSettings{}));
    for (std::size_t k = 0; k < source.statements.size(); ++k) {
        StatementOutcome outcome;
        translateStatement(state, source.points, source.statements[k], outcome);
        ASSERT_FALSE(outcome.refused) << outcome.refusal;
        ASSERT_TRUE(writeProgramStatement(writer, outcome.target, outcome.annotation, k))
            << writerMessage(writer);
        out.outcomes.push_back(outcome);
    }
    ASSERT_TRUE(finishProgramWriter(writer));
}

TEST(Pipeline, EveryStatementLandsAndEveryPoseReadsBackAsTheSameMatrix) {
    const SourceProgram source = kukaProgram();
    const struct {
        K target;
        const char* file;
        std::size_t poses;
        double translation; // what the target's printing keeps of a millimetre
        double rotation;
    } targets[] = {
        {K::kuka, "pick.dat", 3, 1e-4, 1e-6},
        {K::abb, "pick.mod", 3, 1e-4, 1e-6},
        // FANUC: three decimals, and one P[] a frame and tool a program
        {K::fanuc, "PICK.LS", 3, 5e-4, 2e-5},
    };
    for (const auto& t : targets) {
        SCOPED_TRACE(t.file);
        Translated out;
        run(source, optionsTo(t.target), out);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        EXPECT_EQ(out.landed.size(), source.statements.size());
        // Nothing a line says is lost: the kept line and the comment are in the file.
        const std::string program = out.files.text(t.target == K::kuka ? "pick.src" : t.file);
        EXPECT_NE(program.find("logic-kept pick.src:8"), std::string::npos) << program;
        EXPECT_NE(program.find("approach the table"), std::string::npos);

        std::vector<PoseRecord> poses;
        ScanCallbacks callbacks;
        callbacks.pose = [&](const PoseRecord& pose) { poses.push_back(pose); };
        callbacks.warning = [](const ScanWarning& w) {
            ADD_FAILURE() << w.line << ": " << w.message;
        };
        scanText(out.files.bytes(t.file), t.target, callbacks);
        ASSERT_EQ(poses.size(), t.poses);
        for (const PoseRecord& pose : poses) {
            SCOPED_TRACE(pose.name + pose.comment);
            const Point* original =
                findPoint(source.points, pose.vendor == K::fanuc ? pose.comment : pose.name);
            ASSERT_NE(original, nullptr);
            Transform m;
            ASSERT_TRUE(transformOfRecord(pose, m));
            for (int k = 0; k < 16; ++k) {
                const double tolerance = (k % 4 == 3) ? t.translation : t.rotation;
                EXPECT_NEAR(m.e[k], original->pose.matrix.e[k], tolerance) << "element " << k;
            }
        }
    }
}

// The way back, on the model: what a reader of the target would hand over
// is the translated statements, so translating them back with the inverse
// maps must give the same motions, speeds, stops and references.
TEST(Pipeline, TheWayBackGivesTheSameMotions) {
    const SourceProgram source = kukaProgram();
    for (K via : {K::abb, K::fanuc}) {
        SCOPED_TRACE(vendorName(via));
        Translated there;
        run(source, optionsTo(via), there);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        SourceProgram back;
        back.info = there.target;
        for (const StatementOutcome& o : there.outcomes) {
            Statement s = o.target;
            if (s.kind == StatementKind::motion) {
                for (MotionPoint* p : {&s.motion.target, &s.motion.via}) {
                    if (!p->point.name.empty()) {
                        addPoint(back.points, p->point.name, p->point);
                        p->key = p->point.name;
                    }
                }
            }
            back.statements.push_back(s);
        }
        TranslationOptions inverse = optionsTo(K::kuka);
        for (ReferencePair& pair : inverse.frames) {
            pair.source = optionsTo(via).frames.front().target;
        }
        for (ReferencePair& pair : inverse.tools) {
            pair.source = optionsTo(via).tools.front().target;
        }
        inverse.signals = {{optionsTo(via).signals.front().target, "$OUT[3]"}};
        Translated home;
        run(back, inverse, home);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        ASSERT_EQ(home.outcomes.size(), source.statements.size());
        for (std::size_t k = 0; k < source.statements.size(); ++k) {
            const Statement& original = source.statements[k];
            if (original.kind != StatementKind::motion) {
                continue;
            }
            SCOPED_TRACE(original.place.firstLine);
            const Motion& a = original.motion;
            const Motion& b = home.outcomes[k].target.motion;
            EXPECT_EQ(b.kind, a.kind);
            EXPECT_EQ(b.target.point.name, a.target.key);
            EXPECT_EQ(b.speed.kind, a.speed.kind);
            EXPECT_FLOAT_EQ(b.speed.value, a.speed.value);
            EXPECT_EQ(b.blend.kind, a.blend.kind);
            EXPECT_FLOAT_EQ(b.blend.value, a.blend.value);
            EXPECT_EQ(b.frame.number, a.frame.number);
            EXPECT_EQ(b.tool.number, a.tool.number);
        }
    }
}

} // namespace
