#include "tests/robotfiles/scan_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Spot {
    std::size_t pose;
    const char* name;
    const char* type;
    const char* key;
    float value;
};
struct WarningAt {
    std::uint64_t line;
    std::uint64_t column;
    const char* message;
};
struct KrlCase {
    const char* file;
    int ok;
    int partial;
    std::vector<WarningAt> warnings;
    std::vector<Spot> spots;
};

const KrlCase krlCases[] = {
    {"kuka/weld_cell.dat",
     7,
     0,
     {},
     {{0, "XP1", "E6POS", "y", -340.25f},
      {1, "XP2", "E6POS", "c", 179.99f},
      {2, "XHOME_TABLE", "E6POS", "z", 1200.0f},
      {3, "xp3", "E6POS", "y", 0.25f},
      {4, "XHOME", "E6AXIS", "a2", -90.0f},
      {5, "XAPPROACH", "POS", "z", 50.0f},
      {6, "F_GRIP", "FRAME", "y", 20.0f}}},
    {"kuka/pick_place.src",
     6,
     2,
     {},
     {{0, "", "AXIS", "a3", 90.0f},
      {1, "", "aggregate", "x", 1234.5f},
      {2, "", "aggregate", "y", -12.25f},
      {3, "pos[2]", "aggregate", "x", 100.0f},
      {4, "", "aggregate", "y", 4.0f},
      {5, "", "aggregate", "z", 450.0f},
      {6, "", "aggregate", "z", -50.0f},
      {7, "$TOOL", "aggregate", "z", 215.5f}}},
    {"kuka/config.dat",
     7,
     0,
     {},
     {{1, "TOOL_DATA[2]", "aggregate", "z", 180.25f},
      {2, "BASE_DATA[1]", "aggregate", "x", 1500.0f},
      {3, "LOAD_DATA[1].CM", "aggregate", "z", 50.0f},
      {4, "LOAD_DATA[2].CM", "aggregate", "z", 0.0f},
      {5, "REF_TOOL", "FRAME", "z", 120.0f}}},
    {"kuka/broken.dat",
     1,
     1,
     {{3, 27, "expected a number after Y"},
      {4, 19, "expected a number after X"},
      {5, 16, "aggregate not closed on its line"},
      {7, 15, "aggregate not closed on its line"},
      {8, 25, "expected X only once"},
      {9, 43, "expected a number after S"},
      {10, 37, "expected a number after A3"},
      {11, 19, "expected a number after X"},
      {12, 21, "expected ',' or '}'"}},
     {{0, "XP1", "E6POS", "c", 0.0f}, {1, "XP5", "POS", "z", 300.0f}}},
};

std::string fixtureBytes(const std::string& name) {
    std::ifstream file(std::string(POSEBRIDGE_FIXTURES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(KrlReader, FixturesGiveTheirPosesAndWarnings) {
    for (const KrlCase& c : krlCases) {
        SCOPED_TRACE(c.file);
        const ScanResult result = scanFixture(c.file, Vendor::kuka);
        ASSERT_TRUE(result.opened);
        int ok = 0;
        int partial = 0;
        for (const PoseRecord& pose : result.poses) {
            ok += pose.status == PoseStatus::ok ? 1 : 0;
            partial += pose.status == PoseStatus::partial ? 1 : 0;
        }
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(partial, c.partial);
        ASSERT_EQ(result.warnings.size(), c.warnings.size());
        for (std::size_t i = 0; i < c.warnings.size(); ++i) {
            EXPECT_EQ(result.warnings[i].line, c.warnings[i].line);
            EXPECT_EQ(result.warnings[i].column, c.warnings[i].column);
            EXPECT_EQ(result.warnings[i].message, c.warnings[i].message);
        }
        for (const Spot& spot : c.spots) {
            SCOPED_TRACE(spot.name);
            ASSERT_LT(spot.pose, result.poses.size());
            const PoseRecord& pose = result.poses[spot.pose];
            EXPECT_EQ(pose.name, spot.name);
            EXPECT_EQ(pose.type, spot.type);
            const PoseMember* m = member(pose, spot.key);
            ASSERT_NE(m, nullptr);
            EXPECT_EQ(m->value, static_cast<double>(spot.value));
        }
    }
}

// Every record points at its "{" and every range at exactly its number's text.
TEST(KrlReader, PositionsAndRangesPointAtTheText) {
    for (const char* file : {"kuka/weld_cell.dat", "kuka/pick_place.src", "kuka/config.dat",
                             "kuka/pick_place_crlf_bom.src"}) {
        SCOPED_TRACE(file);
        const std::string bytes = fixtureBytes(file);
        for (const PoseRecord& pose : scanFixture(file, Vendor::kuka).poses) {
            ASSERT_LT(pose.offset, bytes.size());
            EXPECT_EQ(bytes[pose.offset], '{');
            const std::size_t lineStart = pose.offset - (pose.column - 1);
            EXPECT_TRUE(lineStart == 0 || lineStart == 3 || bytes[lineStart - 1] == '\n');
            EXPECT_EQ(std::count(bytes.begin(), bytes.begin() + lineStart, '\n'), pose.line - 1);
            for (const PoseMember& m : pose.values) {
                const std::string text = bytes.substr(m.text.offset, m.text.length);
                EXPECT_EQ(std::strtof(text.c_str(), nullptr), m.value) << text;
                EXPECT_EQ(bytes[m.text.offset - 1], ' ') << text;
                EXPECT_NE(std::string(",} ").find(bytes[m.text.offset + m.text.length]),
                          std::string::npos)
                    << text;
            }
        }
    }
    const ScanResult weld = scanFixture("kuka/weld_cell.dat", Vendor::kuka);
    ASSERT_EQ(weld.poses.size(), 7u);
    EXPECT_EQ(weld.poses[0].line, 10u);
    EXPECT_EQ(weld.poses[0].column, 16u);
    EXPECT_EQ(weld.poses[6].column, 21u);
    const std::string bytes = fixtureBytes("kuka/weld_cell.dat");
    const ByteRange y = weld.poses[0].values[1].text;
    EXPECT_EQ(bytes.substr(y.offset, y.length), "-340.25");
}

TEST(KrlReader, MembersInOrderWithStatusAndTurnKept) {
    const ScanResult weld = scanFixture("kuka/weld_cell.dat", Vendor::kuka);
    ASSERT_EQ(weld.poses.size(), 7u);
    const PoseRecord& approach = weld.poses[5]; // written Z X Y C B A S
    std::string keys;
    for (const PoseMember& m : approach.values) {
        keys += m.key + " ";
    }
    EXPECT_EQ(keys, "x y z a b c ");
    ASSERT_EQ(approach.extra.size(), 1u);
    EXPECT_EQ(extraText(approach.extra[0].value), "6");
    const PoseRecord& xp2 = weld.poses[1]; // S 'B010', T 'B100011', E1 250.0
    ASSERT_EQ(xp2.extra.size(), 8u);
    EXPECT_EQ(xp2.extra[0].key + "=" + extraText(xp2.extra[0].value), "s=2");
    EXPECT_EQ(xp2.extra[1].key + "=" + extraText(xp2.extra[1].value), "t=35");
    EXPECT_EQ(xp2.extra[2].key + "=" + extraText(xp2.extra[2].value), "e1=250");
    EXPECT_EQ(xp2.extra[7].key, "e6");
    EXPECT_TRUE(std::signbit(member(weld.poses[3], "b")->value)); // b -0.0

    const ScanResult config = scanFixture("kuka/config.dat", Vendor::kuka);
    ASSERT_EQ(config.poses.size(), 7u);
    EXPECT_TRUE(config.poses[3].nested);
    EXPECT_FALSE(config.poses[5].nested);
}

TEST(KrlReader, CrlfAndByteOrderMarkGiveTheSamePoses) {
    const ScanResult lf = scanFixture("kuka/pick_place.src", Vendor::kuka);
    const ScanResult crlf = scanFixture("kuka/pick_place_crlf_bom.src", Vendor::kuka);
    ASSERT_EQ(lf.poses.size(), 8u);
    ASSERT_EQ(crlf.poses.size(), lf.poses.size());
    EXPECT_TRUE(crlf.warnings.empty());
    for (std::size_t i = 0; i < lf.poses.size(); ++i) {
        const PoseRecord& a = lf.poses[i];
        const PoseRecord& b = crlf.poses[i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.line, b.line);
        EXPECT_EQ(a.column, b.column);
        EXPECT_EQ(b.offset, a.offset + 3 + (a.line - 1)); // the mark, one "\r" a line
        ASSERT_EQ(a.values.size(), b.values.size());
        for (std::size_t k = 0; k < a.values.size(); ++k) {
            EXPECT_EQ(a.values[k].value, b.values[k].value);
            EXPECT_EQ(b.values[k].text.offset - b.offset, a.values[k].text.offset - a.offset);
        }
    }
}

// A statement cut anywhere is refused, with a warning once its "{" is in.
TEST(KrlReader, CutStatementsAreRefusedAndDeepNestingIsHarmless) {
    const std::string full = "DECL E6POS P={X 1,Y 2,Z 3,A 0,B 0,C 0,S 'B010',T 3,E1 0.5}";
    const std::size_t brace = full.find('{');
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        SCOPED_TRACE(cut);
        int poses = 0;
        int warnings = 0;
        const ScanCallbacks out{[&](const PoseRecord&) { ++poses; },
                                [&](const ScanWarning&) { ++warnings; }};
        KrlReader reader;
        const std::string text = full.substr(0, cut) + "\n";
        readKrlLine(reader, SourceLine{text, 1000, 4, false}, out);
        EXPECT_EQ(krlPendingOffset(reader), 1000 + text.size());
        EXPECT_EQ(poses, cut == full.size() ? 1 : 0);
        EXPECT_EQ(warnings, cut > brace && cut < full.size() ? 1 : 0);
    }
    KrlReader reader;
    const std::string deep = "X=" + std::string(100000, '{') + "X 1" + std::string(100000, '}');
    int found = 0;
    readKrlLine(reader, SourceLine{deep, 0, 1, false},
                ScanCallbacks{[&](const PoseRecord&) { ++found; }, {}});
    EXPECT_EQ(found, 0);
}

} // namespace
