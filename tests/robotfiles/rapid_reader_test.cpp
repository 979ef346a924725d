#include "robotfiles/scan_text.h"
#include "tests/robotfiles/scan_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A member's number as the fixture writes it, or an extra item's JSON.
struct RapidSpot {
    const char* name; // "" for the first pose written inline without a name
    const char* key;
    const char* text;
};
struct RapidCase {
    const char* file;
    int ok;
    int notUnit;
    std::vector<std::uint64_t> warningLines;
    std::vector<RapidSpot> spots;
};

const RapidCase rapidCases[] = {
    {"abb/MainModule.mod",
     7,
     1,
     {},
     {{"pHome", "x", "600"},
      {"pHome", "extax", "[9e+09,9e+09,9e+09,9e+09,9e+09,9e+09]"},
      {"pApproach", "q3", "0.707107"},
      {"pPick", "z", "230.75"},
      {"pPick", "q1", "0.0436194"},
      {"pPlace", "x", "1020.4"},
      {"pPlace", "q2", "-0.5"},
      {"pPlace", "robconf", "[0,-1,1,0]"},
      {"pOld", "q1", "0.7"},
      {"pTemp", "z", "400"},
      {"", "z", "330"}}},
    {"abb/MainModule_crlf_bom.mod", 7, 1, {}, {{"pPick", "y", "-120.25"}}},
    {"abb/Pallet.mod",
     10,
     0,
     {},
     {{"pStack{1}", "x", "100"},
      {"pStack{2}", "y", "400"},
      {"pStack{3}", "y", "600"},
      {"pGrid{1,3}", "y", "0"},
      {"pGrid{2,1}", "x", "900"},
      {"pGrid{2,2}", "y", "-100"}}},
    {"abb/CellData.sys",
     5,
     1,
     {},
     {{"tGripper", "z", "185.5"},
      {"tGripper", "robhold", "true"},
      {"tGripper", "tload", "[2.5,[0,0,85],[1,0,0,0],0,0,0]"},
      {"tWelder", "q3", "0.3826834"},
      {"tWelder", "tload", "[3.2,[-20,0,150],[1,0,0,0],0.01,0.02,0.003]"},
      {"wobjTable", "ufprog", "true"},
      {"wobjTable", "uframe", "[[1000,0,0],[0.7071068,0,0,0.7071068]]"},
      {"wobjTrack", "ufmec", "\"TRACK \\\"1\\\"\""},
      {"peCamera", "z", "610.5"}}},
    {"abb/Comments.mod", 3, 0, {}, {{"pSeam", "x", "310"}, {"", "x", "320"}}},
    {"abb/Broken.mod", 2, 0, {3, 4, 5, 6, 7, 9, 14}, {{"pGood", "z", "700"}}},
};

std::string fixtureBytes(const std::string& name) {
    std::ifstream file(std::string(POSEBRIDGE_FIXTURES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const PoseRecord* named(const ScanResult& result, const std::string& name) {
    for (const PoseRecord& pose : result.poses) {
        if (pose.name == name) {
            return &pose;
        }
    }
    return nullptr;
}

const ExtraItem* extraItem(const PoseRecord& pose, const std::string& key) {
    for (const ExtraItem& item : pose.extra) {
        if (item.key == key) {
            return &item;
        }
    }
    return nullptr;
}

TEST(RapidReader, FixturesGiveTheirPosesAndWarnings) {
    for (const RapidCase& c : rapidCases) {
        SCOPED_TRACE(c.file);
        const ScanResult result = scanFixture(c.file, Vendor::abb);
        ASSERT_TRUE(result.opened);
        const std::string bytes = fixtureBytes(c.file);
        EXPECT_EQ(std::count_if(result.poses.begin(), result.poses.end(),
                                [](const PoseRecord& p) { return p.status == PoseStatus::ok; }),
                  c.ok);
        EXPECT_EQ(
            std::count_if(result.poses.begin(), result.poses.end(),
                          [](const PoseRecord& p) { return p.status == PoseStatus::notUnit; }),
            c.notUnit);
        EXPECT_EQ(static_cast<int>(result.poses.size()), c.ok + c.notUnit);
        std::vector<std::uint64_t> lines;
        for (const ScanWarning& warning : result.warnings) {
            lines.push_back(warning.line);
        }
        EXPECT_EQ(lines, c.warningLines);
        for (const RapidSpot& spot : c.spots) {
            SCOPED_TRACE(std::string(spot.name) + " " + spot.key);
            const PoseRecord* pose = named(result, spot.name);
            ASSERT_NE(pose, nullptr);
            EXPECT_EQ(pose->vendor, Vendor::abb);
            if (const PoseMember* m = member(*pose, spot.key)) {
                EXPECT_EQ(m->value, static_cast<double>(std::strtof(spot.text, nullptr)));
                EXPECT_EQ(bytes.substr(m->text.offset, m->text.length), spot.text);
            } else {
                const ExtraItem* item = extraItem(*pose, spot.key);
                ASSERT_NE(item, nullptr);
                EXPECT_EQ(extraText(item->value), spot.text);
            }
        }
    }
}

bool isNumberByte(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
}

TEST(RapidReader, NumberRangesHoldExactlyTheNumbersText) {
    for (const RapidCase& c : rapidCases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = fixtureBytes(c.file);
        for (const PoseRecord& pose : scanFixture(c.file, Vendor::abb).poses) {
            SCOPED_TRACE(pose.name);
            EXPECT_EQ(bytes[pose.offset], '[');
            for (const PoseMember& m : pose.values) {
                if (pose.type == "wobjdata") {
                    EXPECT_EQ(m.text.length, 0u);
                    continue;
                }
                ASSERT_GT(m.text.length, 0u);
                ASSERT_LE(m.text.offset + m.text.length, bytes.size());
                const std::string text = bytes.substr(m.text.offset, m.text.length);
                EXPECT_EQ(m.value, static_cast<double>(std::strtof(text.c_str(), nullptr))) << text;
                EXPECT_TRUE(std::all_of(text.begin(), text.end(), isNumberByte)) << text;
                EXPECT_FALSE(isNumberByte(bytes[m.text.offset - 1])) << text;
                EXPECT_FALSE(isNumberByte(bytes[m.text.offset + m.text.length])) << text;
            }
        }
    }
}

TEST(RapidReader, PlacesCountLinesAndBytesFromOne) {
    const std::string bytes = fixtureBytes("abb/MainModule.mod");
    const ScanResult result = scanFixture("abb/MainModule.mod", Vendor::abb);
    // pPlace's value starts on line 7, column 29; the MoveL's inline robtarget
    // on line 18, column 15.
    const struct {
        std::size_t pose;
        const char* name;
        std::uint64_t line;
        std::uint64_t column;
    } places[] = {{3, "pPlace", 7, 29}, {5, "", 18, 15}};
    ASSERT_EQ(result.poses.size(), 8u);
    for (const auto& place : places) {
        const PoseRecord& pose = result.poses[place.pose];
        EXPECT_EQ(pose.name, place.name);
        EXPECT_EQ(pose.line, place.line);
        EXPECT_EQ(pose.column, place.column);
        std::size_t lineStart = 0;
        for (std::uint64_t line = 1; line < place.line; ++line) {
            lineStart = bytes.find('\n', lineStart) + 1;
        }
        EXPECT_EQ(pose.offset, lineStart + place.column - 1);
    }
}

TEST(RapidReader, CrlfAndByteOrderMarkGiveTheSamePoses) {
    const std::string lf = fixtureBytes("abb/MainModule.mod");
    const ScanResult plain = scanFixture("abb/MainModule.mod", Vendor::abb);
    const ScanResult crlf = scanFixture("abb/MainModule_crlf_bom.mod", Vendor::abb);
    ASSERT_EQ(plain.poses.size(), crlf.poses.size());
    // Three bytes of the mark, and one carriage return a line before.
    const auto shifted = [&](std::uint64_t offset) {
        return offset + 3 + std::count(lf.begin(), lf.begin() + offset, '\n');
    };
    for (std::size_t i = 0; i < plain.poses.size(); ++i) {
        const PoseRecord& a = plain.poses[i];
        const PoseRecord& b = crlf.poses[i];
        SCOPED_TRACE(a.name);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.line, b.line);
        EXPECT_EQ(a.column, b.column);
        EXPECT_EQ(shifted(a.offset), b.offset);
        EXPECT_EQ(a.status, b.status);
        ASSERT_EQ(a.values.size(), b.values.size());
        for (std::size_t k = 0; k < a.values.size(); ++k) {
            EXPECT_EQ(a.values[k].value, b.values[k].value);
            EXPECT_EQ(shifted(a.values[k].text.offset), b.values[k].text.offset);
            EXPECT_EQ(a.values[k].text.length, b.values[k].text.length);
        }
        ASSERT_EQ(a.extra.size(), b.extra.size());
        for (std::size_t k = 0; k < a.extra.size(); ++k) {
            EXPECT_EQ(extraText(a.extra[k].value), extraText(b.extra[k].value));
        }
    }
}

TEST(RapidReader, WarningsSayWhereAndWhatWasExpected) {
    const ScanResult result = scanFixture("abb/Broken.mod", Vendor::abb);
    const struct {
        std::uint64_t line;
        std::uint64_t column;
        const char* message;
    } expected[] = {{3, 40, "expected a number"},
                    {4, 104, "expected ']' to close the robtarget"},
                    {5, 52, "expected ',' in the robtarget"},
                    {6, 57, "expected ',' in the tooldata"},
                    {7, 39, "expected ']' to close the trans"},
                    {9, 87, "expected ',' before the next element of the array"},
                    {14, 97, "expected ';' to end the declaration"}};
    ASSERT_EQ(result.warnings.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(result.warnings[i].line, expected[i].line);
        EXPECT_EQ(result.warnings[i].column, expected[i].column);
        EXPECT_EQ(result.warnings[i].message, expected[i].message);
    }
}

TEST(RapidReader, WorkObjectIsItsUserFrameFollowedByItsObjectFrame) {
    const ScanResult result = scanFixture("abb/CellData.sys", Vendor::abb);
    const PoseRecord* table = named(result, "wobjTable");
    ASSERT_NE(table, nullptr);
    // The user frame turns 90 degrees about z, so the object frame's
    // (100, 50, 0) becomes (-50, 100, 0) from (1000, 0, 0).
    const double expected[7] = {950, 100, 0, 0.7071068, 0, 0, 0.7071068};
    ASSERT_EQ(table->values.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_NEAR(table->values[i].value, expected[i], 1e-4) << table->values[i].key;
    }
    const PoseRecord* fixture = named(result, "wobjFixture");
    ASSERT_NE(fixture, nullptr);
    EXPECT_EQ(fixture->status, PoseStatus::notUnit);
}

// Feeds lines as the line reader would, one after another.
struct Feed {
    FileScanner scanner = startScan(Vendor::abb);
    std::uint64_t offset = 0;
    std::uint64_t number = 0;
    std::vector<PoseRecord> poses;
    std::vector<ScanWarning> warnings;
    ScanCallbacks out{[this](const PoseRecord& p) { poses.push_back(p); },
                      [this](const ScanWarning& w) { warnings.push_back(w); }};

    void line(const std::string& text, bool overlong = false) {
        SourceLine source{text, offset, ++number, overlong};
        scanLine(scanner, source, out);
        offset += text.size();
    }
};

TEST(RapidReader, PendingOffsetIsTheOpenStatementsFirstByte) {
    Feed feed;
    feed.line("MODULE m\n");
    EXPECT_EQ(pendingOffset(feed.scanner), 0u); // "MODULE m" waits for a ';'
    feed.line("  VAR num n := 1;\n");
    EXPECT_EQ(pendingOffset(feed.scanner), 27u);
    feed.line("  PERS robtarget p := [[1,2,3],[1,0,0,0],\n");
    EXPECT_EQ(pendingOffset(feed.scanner), 29u);
    feed.line("    [0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];\n");
    EXPECT_EQ(pendingOffset(feed.scanner), feed.offset);
    ASSERT_EQ(feed.poses.size(), 1u);
    EXPECT_EQ(feed.poses[0].line, 3u);
    EXPECT_EQ(feed.poses[0].column, 23u);
    EXPECT_TRUE(feed.warnings.empty());
}

TEST(RapidReader, LongStatementsAndLinesAreAbandonedWithAWarning) {
    const std::string robtarget = "[[1,2,3],[1,0,0,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]]";
    Feed feed;
    feed.line("  VAR robtarget p := " + robtarget + "\n");
    feed.line("\n", true);
    feed.line("MoveL " + robtarget + ", v100, fine, tool0;\n");
    const std::string comment = "  ! " + std::string(600000, '[') + "\n";
    feed.line("  MoveL " + robtarget + ",\n");
    feed.line(comment);
    feed.line(comment);
    feed.line("  v100, fine, tool0; MoveL " + robtarget + ", v100, fine, tool0;\n");
    // The line reader's own warning for line 2 comes first.
    ASSERT_EQ(feed.warnings.size(), 3u);
    EXPECT_EQ(feed.warnings[1].line, 1u);
    EXPECT_EQ(feed.warnings[1].column, 3u);
    EXPECT_EQ(feed.warnings[2].line, 4u);
    EXPECT_EQ(feed.warnings[2].column, 3u);
    ASSERT_EQ(feed.poses.size(), 2u);
    EXPECT_EQ(feed.poses[0].line, 3u);
    EXPECT_EQ(feed.poses[1].line, 7u);
    EXPECT_EQ(feed.poses[1].column, 28u);
}

} // namespace
