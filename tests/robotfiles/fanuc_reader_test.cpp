#include "scan_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A number as the fixture writes it, and the float it must read as.
struct Spot {
    const char* name;
    int group;
    const char* key;
    const char* text;
    float value;
};

struct ExtraSpot {
    const char* name;
    int group;
    const char* key;
    const char* json;
};

struct At {
    std::uint64_t line;
    std::uint64_t column;
};

struct Counts {
    int ok, partial, uninitialised;
};

struct FixtureCase {
    const char* file;
    const char* program;
    Counts counts;
    std::vector<Spot> spots;
    std::vector<ExtraSpot> extras;
    std::vector<At> warnings;
};

const std::vector<FixtureCase>& fixtureCases() {
    static const std::vector<FixtureCase> cases = {
        {"fanuc/pick_place.ls",
         "PICK_PLACE",
         {5, 0, 0},
         {{"P[1]", 1, "x", "612.500", 612.5f},
          {"P[1]", 1, "p", "-.604", -.604f},
          {"P[2]", 1, "x", "1234.567", 1234.567f},
          {"P[3]", 1, "z", "310.000", 310.0f},
          {"P[4]", 1, "r", "135.000", 135.0f}},
         {{"P[1]", 1, "config", "\"N U T, 0, 0, 0\""},
          {"P[1]", 1, "uf", "1"},
          {"P[3]", 1, "config", "\"F U T, 0, 0, -1\""},
          {"P[4]", 1, "e1", "1500"}},
         {}},
        {"fanuc/pick_place_crlf_bom.ls",
         "PICK_PLACE",
         {5, 0, 0},
         {{"P[1]", 1, "p", "-.604", -.604f}},
         {{"P[4]", 1, "e1", "1500"}},
         {}},
        {"fanuc/remote_tcp.ls",
         "GLUE_BEAD",
         {3, 0, 0},
         {{"P[1]", 2, "x", "-310.500", -310.5f},
          {"P[2]", 1, "x", "410.000", 410.0f},
          {"P[2]", 1, "p", "-.604", -.604f},
          {"P[2]", 1, "r", "30.000", 30.0f}},
         {{"P[1]", 2, "config", "\"N D B, 0, 0, 0\""},
          {"P[2]", 1, "ut", "2"},
          {"P[2]", 1, "remote_tcp", "true"}},
         {}},
        {"fanuc/untaught.ls",
         "TEACH_ME",
         {1, 1, 2},
         {{"P[3]", 1, "x", "512.000", 512.0f},
          {"P[3]", 1, "y", "-64.000", -64.0f},
          {"P[4]", 1, "z", "450.000", 450.0f}},
         {{"P[1]", 1, "uf", "\"F\""}},
         {}},
        {"fanuc/palette_german.ls",
         "PALETTE",
         {2, 0, 0},
         {{"P[1]", 1, "x", "-75.125", -75.125f},
          {"P[2]", 1, "p", "-.250", -.25f},
          {"P[2]", 1, "r", "12.345", 12.345f}},
         {{"P[2]", 1, "config", "\"F D T, 1, 0, 0\""}, {"P[2]", 1, "ut", "4"}},
         {}},
        {"fanuc/broken.ls",
         "BROKEN",
         {3, 0, 0},
         {{"P[4]", 1, "x", "400.000", 400.0f}, {"P[6]", 1, "x", "600.000", 600.0f}},
         {},
         {{35, 7}, {43, 1}, {52, 46}}},
        {"fanuc/work_move_sjis.ls",
         "WORK_MOVE",
         {3, 0, 0},
         {{"P[3]", 1, "r", "-3.500", -3.5f}},
         {},
         {}},
    };
    return cases;
}

std::string fileBytes(const std::string& name) {
    std::ifstream in(std::string(POSEBRIDGE_FIXTURES) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const PoseRecord* findPose(const ScanResult& result, const std::string& name, int group) {
    for (const PoseRecord& pose : result.poses) {
        if (pose.name == name && pose.group == group) {
            return &pose;
        }
    }
    return nullptr;
}

std::string rangeText(const std::string& bytes, const ByteRange& range) {
    return range.offset + range.length <= bytes.size() ? bytes.substr(range.offset, range.length)
                                                       : std::string("(out of the file)");
}

TEST(FanucReader, FixtureTable) {
    for (const FixtureCase& c : fixtureCases()) {
        SCOPED_TRACE(c.file);
        const ScanResult result = scanFixture(c.file, Vendor::fanuc);
        ASSERT_TRUE(result.opened);
        const std::string bytes = fileBytes(c.file);
        int counts[4] = {};
        for (const PoseRecord& pose : result.poses) {
            ++counts[static_cast<int>(pose.status)];
            EXPECT_EQ(pose.vendor, Vendor::fanuc);
            EXPECT_EQ(pose.type, "P");
            EXPECT_EQ(pose.program, c.program);
        }
        EXPECT_EQ(counts[static_cast<int>(PoseStatus::ok)], c.counts.ok);
        EXPECT_EQ(counts[static_cast<int>(PoseStatus::partial)], c.counts.partial);
        EXPECT_EQ(counts[static_cast<int>(PoseStatus::uninitialised)], c.counts.uninitialised);
        EXPECT_EQ(counts[static_cast<int>(PoseStatus::notUnit)], 0);
        for (const Spot& spot : c.spots) {
            SCOPED_TRACE(std::string(spot.name) + " " + spot.key);
            const PoseRecord* pose = findPose(result, spot.name, spot.group);
            ASSERT_NE(pose, nullptr);
            const PoseMember* m = member(*pose, spot.key);
            ASSERT_NE(m, nullptr);
            EXPECT_EQ(m->value, static_cast<double>(spot.value));
            EXPECT_EQ(rangeText(bytes, m->text), spot.text);
        }
        for (const ExtraSpot& spot : c.extras) {
            SCOPED_TRACE(std::string(spot.name) + " " + spot.key);
            const PoseRecord* pose = findPose(result, spot.name, spot.group);
            ASSERT_NE(pose, nullptr);
            std::string json = "(missing)";
            for (const ExtraItem& item : pose->extra) {
                json = item.key == spot.key ? extraText(item.value) : json;
            }
            EXPECT_EQ(json, spot.json);
        }
        ASSERT_EQ(result.warnings.size(), c.warnings.size());
        for (std::size_t i = 0; i < c.warnings.size(); ++i) {
            SCOPED_TRACE(result.warnings[i].message);
            EXPECT_EQ(result.warnings[i].line, c.warnings[i].line);
            EXPECT_EQ(result.warnings[i].column, c.warnings[i].column);
        }
    }
}

// Members in the order x y z w p r, only those read; extra items in the order
// uf, ut, config, remote_tcp, e1.
TEST(FanucReader, OrderOfMembersAndExtraItems) {
    const struct {
        const char* file;
        const char* name;
        int group;
        const char* keys;
    } cases[] = {
        {"fanuc/pick_place.ls", "P[4]", 1, "x y z w p r uf ut config e1 "},
        {"fanuc/untaught.ls", "P[3]", 1, "x y uf ut config "},
        {"fanuc/remote_tcp.ls", "P[2]", 1, "x y z w p r uf ut config remote_tcp "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const ScanResult result = scanFixture(c.file, Vendor::fanuc);
        const PoseRecord* pose = findPose(result, c.name, c.group);
        ASSERT_NE(pose, nullptr);
        std::string keys;
        for (const PoseMember& m : pose->values) {
            keys += m.key + " ";
        }
        for (const ExtraItem& item : pose->extra) {
            keys += item.key + " ";
        }
        EXPECT_EQ(keys, c.keys);
        EXPECT_EQ(pose->remoteTcp, std::string(c.keys).find("remote") != std::string::npos);
    }
    // The joint values of GP2 are no pose, but axis values as read.
    const ScanResult pick = scanFixture("fanuc/pick_place.ls", Vendor::fanuc);
    const PoseRecord* joints = findPose(pick, "P[3]", 2);
    ASSERT_NE(joints, nullptr);
    EXPECT_EQ(joints->role, PoseRole::joint);
    EXPECT_TRUE(joints->values.empty());
    ASSERT_EQ(joints->axes.size(), 2u);
    EXPECT_EQ(joints->axes[0].key + " " + joints->axes[1].key, "a1 a2");
    EXPECT_EQ(joints->axes[1].value, -12.5);
}

// The place of a record is the "P" of P[n], the same for each group; every
// range holds exactly a number with a blank on either side.
TEST(FanucReader, PlacesAndRangesPointAtTheText) {
    const ScanResult pick = scanFixture("fanuc/pick_place.ls", Vendor::fanuc);
    const std::string pickBytes = fileBytes("fanuc/pick_place.ls");
    const PoseRecord* p2 = findPose(pick, "P[2]", 1);
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(p2->line, 39u);
    EXPECT_EQ(p2->column, 1u);
    EXPECT_EQ(pickBytes.compare(p2->offset, 16, "P[2:\"APPROACH\"]{"), 0);
    EXPECT_EQ(p2->comment, "APPROACH");

    const ScanResult remote = scanFixture("fanuc/remote_tcp.ls", Vendor::fanuc);
    const PoseRecord* g1 = findPose(remote, "P[1]", 1);
    const PoseRecord* g2 = findPose(remote, "P[1]", 2);
    ASSERT_TRUE(g1 != nullptr && g2 != nullptr);
    EXPECT_EQ(g1->line, g2->line);
    EXPECT_EQ(g1->offset, g2->offset);

    for (const FixtureCase& c : fixtureCases()) {
        SCOPED_TRACE(c.file);
        const std::string bytes = fileBytes(c.file);
        for (const PoseRecord& pose : scanFixture(c.file, Vendor::fanuc).poses) {
            for (const PoseMember& m : pose.values) {
                SCOPED_TRACE(pose.name + " " + m.key);
                const std::string text = rangeText(bytes, m.text);
                ASSERT_TRUE(m.text.offset > 0 && m.text.length > 0);
                EXPECT_EQ(text.find_first_not_of("-.0123456789"), std::string::npos) << text;
                EXPECT_EQ(bytes[m.text.offset - 1], ' ');
                EXPECT_EQ(bytes[m.text.offset + m.text.length], ' ');
            }
        }
    }
}

TEST(FanucReader, CrlfAndBomGiveTheSamePoses) {
    const ScanResult lf = scanFixture("fanuc/pick_place.ls", Vendor::fanuc);
    const ScanResult crlf = scanFixture("fanuc/pick_place_crlf_bom.ls", Vendor::fanuc);
    const std::string lfBytes = fileBytes("fanuc/pick_place.ls");
    const std::string crlfBytes = fileBytes("fanuc/pick_place_crlf_bom.ls");
    ASSERT_EQ(lf.poses.size(), crlf.poses.size());
    for (std::size_t i = 0; i < lf.poses.size(); ++i) {
        const PoseRecord& a = lf.poses[i];
        const PoseRecord& b = crlf.poses[i];
        SCOPED_TRACE(a.name);
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.line, b.line);
        EXPECT_EQ(a.column, b.column);
        EXPECT_EQ(b.offset, a.offset + 3 + (a.line - 1)); // the mark, one '\r' a line
        ASSERT_EQ(a.values.size(), b.values.size());
        for (std::size_t k = 0; k < a.values.size(); ++k) {
            EXPECT_EQ(a.values[k].value, b.values[k].value);
            EXPECT_EQ(rangeText(lfBytes, a.values[k].text), rangeText(crlfBytes, b.values[k].text));
        }
        ASSERT_EQ(a.extra.size(), b.extra.size());
        for (std::size_t k = 0; k < a.extra.size(); ++k) {
            EXPECT_EQ(extraText(a.extra[k].value), extraText(b.extra[k].value));
        }
    }
}

// Bytes of Shift-JIS characters equal to ']', '[', '{' and '}' stay in the comment.
TEST(FanucReader, ShiftJisCommentsKeepTheirBytes) {
    const ScanResult result = scanFixture("fanuc/work_move_sjis.ls", Vendor::fanuc);
    ASSERT_EQ(result.poses.size(), 3u);
    EXPECT_EQ(result.poses[0].comment, "\x83\x5d\x81\x5b\x83\x93\x93\xfc\x8c\xfb");
    EXPECT_EQ(result.poses[1].comment, "\x83\x7d\x83\x58\x83\x5e");
    EXPECT_EQ(result.poses[2].comment, "\x96\x7b\x91\xcc");
    EXPECT_EQ(result.poses[2].line, 40u);
}

// Feeds text line by line as the line reader would, an overlong line where
// the text holds "@".
struct Fed {
    std::vector<PoseRecord> poses;
    std::vector<ScanWarning> warnings;
    std::vector<std::uint64_t> pending; // after each line
};

Fed feed(const std::string& text) {
    Fed fed;
    ScanCallbacks out;
    out.pose = [&](const PoseRecord& pose) { fed.poses.push_back(pose); };
    out.warning = [&](const ScanWarning& warning) { fed.warnings.push_back(warning); };
    FanucReader reader;
    std::uint64_t offset = 0;
    std::uint64_t number = 1;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        SourceLine line{std::string_view(text).substr(start, end - start), offset, number++,
                        text[start] == '@'};
        line.text = line.overlong ? line.text.substr(line.text.size() - 1) : line.text;
        line.offset = offset + (end - start) - line.text.size();
        readFanucLine(reader, line, out);
        fed.pending.push_back(fanucPendingOffset(reader));
        offset += end - start;
        start = end;
    }
    finishFanuc(reader, out);
    return fed;
}

const std::string onePosition = "P[7]{ GP1: X = 1 mm, Y = 2 mm, Z = 3 mm,\n"
                                " W = 4 deg, P = 5 deg, R = 6 deg };\n";

TEST(FanucReader, PendingOffsetIsThePOfThePositionInProgress) {
    const Fed fed = feed("/POS\n  " + onePosition + "/END\n");
    const std::vector<std::uint64_t> expected = {5, 7, 84, 89};
    EXPECT_EQ(fed.pending, expected);
    ASSERT_EQ(fed.poses.size(), 1u);
    EXPECT_EQ(fed.poses[0].offset, 7u);
    EXPECT_EQ(fed.poses[0].column, 3u);
}

// A position that cannot be kept whole is reported once and skipped; the next is read.
TEST(FanucReader, PositionsThatCannotBeKeptAreSkipped) {
    const std::string longPosition = "P[1]{ GP1:\n" + std::string(70000, ' ') + "\n};\n";
    const struct {
        const char* name;
        std::string text;
        At warning;
    } cases[] = {
        {"overlong line", "/POS\nP[1]{ GP1:\n@\n X = 1 mm };\n" + onePosition, {3, 1}},
        {"beyond 64 KiB", "/POS\n" + longPosition + onePosition, {2, 1}},
        {"open at the end", "/POS\n" + onePosition + "P[8]{ GP1: X = 1 mm", {4, 20}},
        {"stray text", "/POS\nGP1: X = 1 mm };\n" + onePosition, {2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Fed fed = feed(c.text);
        ASSERT_EQ(fed.warnings.size(), 1u);
        EXPECT_EQ(fed.warnings[0].line, c.warning.line);
        EXPECT_EQ(fed.warnings[0].column, c.warning.column);
        ASSERT_EQ(fed.poses.size(), 1u);
        EXPECT_EQ(fed.poses[0].name, "P[7]");
        EXPECT_EQ(fed.poses[0].status, PoseStatus::ok);
    }
}

} // namespace
