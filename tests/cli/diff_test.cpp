// `diff` end to end over two small backups, and the angle between two
// rotations on its own where digits are easily lost: near 0 and near 180.

#include "robotfiles/pose_compare.h"
#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// The rotation by degrees about the unit axis (x, y, z), built here rather
// than by the program's own Euler code.
Transform rotation(double x, double y, double z, double degrees) {
    const double norm = std::sqrt(x * x + y * y + z * z);
    const double n[3] = {x / norm, y / norm, z / norm};
    const double s = std::sin(degrees * std::numbers::pi / 180.0);
    const double c = std::cos(degrees * std::numbers::pi / 180.0);
    const double cross[3][3] = {{0, -n[2], n[1]}, {n[2], 0, -n[0]}, {-n[1], n[0], 0}};
    Transform m;
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 3; ++k) {
            at(m, r, k) = (r == k ? c : 0.0) + s * cross[r][k] + (1.0 - c) * n[r] * n[k];
        }
    }
    at(m, 3, 3) = 1.0;
    return m;
}

TEST(DiffTest, RelativeAngleKeepsItsDigitsNearZeroAndNear180) {
    const struct {
        double axis[3];
        double from, to, expected;
    } cases[] = {
        {{1, 0, 0}, 0, 0, 0},
        {{1, 0, 0}, 0, 1e-7, 1e-7},
        {{1, 2, 3}, 40, 40 + 1e-7, 1e-7},
        {{0, 0, 1}, -30, 60, 90},
        {{1, 0, 0}, 0, 180, 180},
        {{1, 1, 1}, 0, 180, 180},
        {{1, 1, 0}, 0, 180 - 1e-7, 180 - 1e-7},
        {{-2, 1, 5}, 30, 210 - 1e-7, 180 - 1e-7},
        {{0, 1, 0}, 10, 10 + 360 - 1e-7, 1e-7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to << " about " << c.axis[0] << ","
                                        << c.axis[1] << "," << c.axis[2]);
        Transform before = rotation(c.axis[0], c.axis[1], c.axis[2], c.from);
        Transform after = rotation(c.axis[0], c.axis[1], c.axis[2], c.to);
        EXPECT_NEAR(relativeRotationDegrees(before, after), c.expected, 1e-11);
        EXPECT_NEAR(relativeRotationDegrees(after, before), c.expected, 1e-11);
        at(before, 0, 3) = 3.0;
        at(after, 1, 3) = 4.0;
        EXPECT_DOUBLE_EQ(translationDistance(before, after), 5.0);
    }
}

std::string backup(const std::string& side) {
    return quoted(fixtures("diff/" + side));
}

TEST(DiffTest, ComparesTwoBackupsPoseByPose) {
    const Outcome compared = run("diff --format json " + backup("old") + " " + backup("new"));
    ASSERT_EQ(compared.status, 1) << compared.out;
    // Unchanged though written otherwise: XP2 (A-360, C-360), pHome (the
    // negated quaternion), P[2] (the other Euler solution), the first inline
    // value (one line further down), P[1] GP1.
    const struct {
        const char* status;
        const char* file;
        const char* name;     // nullptr: an inline value
        int group;            // 0: no group key
        int oldLine, newLine; // 0: null
        double distance = 0.0, angle = 0.0;
    } expected[] = {
        {"moved", "KRC/R1/cell.dat", "XP1", 0, 4, 4, 5.0, 10.0},
        {"changed_extra", "KRC/R1/cell.dat", "XP3", 0, 6, 6},
        {"added", "KRC/R1/cell.dat", "XP5", 0, 0, 7},
        {"removed", "KRC/R1/cell.dat", "XP4", 0, 7, 0},
        {"moved", "KRC/R1/cell.dat", "fSmall", 0, 8, 8, double(500.2f) - 500.0, 0.0},
        {"changed", "KRC/R1/cell.dat", "fPartial", 0, 9, 9},
        {"added", "KRC/R1/fixture.dat", "fClamp", 0, 0, 2},
        {"changed_extra", "RAPID/Cell1.mod", "pPick", 0, 3, 3},
        {"moved", "RAPID/Cell1.mod", nullptr, 0, 7, 8, 12.0, 0.0},
        {"moved", "fanuc/GLUE.LS", "P[1]", 2, 10, 10, 2.0, 0.0},
    };
    const std::vector<nlohmann::json> found = jsonLines(compared.out);
    ASSERT_EQ(found.size(), std::size(expected)) << compared.out;
    for (std::size_t k = 0; k < found.size(); ++k) {
        const auto& e = expected[k];
        const nlohmann::json& f = found[k];
        SCOPED_TRACE(f.dump());
        const bool moved = std::string(e.status) == "moved";
        EXPECT_EQ(f.size(), 5u + (e.group > 0 ? 1 : 0) + (moved ? 2 : 0));
        // A key that is missing reads as "absent", not as null.
        const auto field = [&](const char* key) {
            return f.contains(key) ? f.at(key) : nlohmann::json("absent");
        };
        const auto lineOrNull = [](int line) {
            return line > 0 ? nlohmann::json(line) : nlohmann::json();
        };
        EXPECT_EQ(field("status"), e.status);
        EXPECT_EQ(field("file"), e.file);
        EXPECT_EQ(field("name"), e.name ? nlohmann::json(e.name) : nlohmann::json());
        EXPECT_EQ(field("group"), e.group > 0 ? nlohmann::json(e.group) : nlohmann::json("absent"));
        EXPECT_EQ(field("old_line"), lineOrNull(e.oldLine));
        EXPECT_EQ(field("new_line"), lineOrNull(e.newLine));
        if (moved) {
            EXPECT_NEAR(field("distance_mm").get<double>(), e.distance, 1e-6);
            EXPECT_NEAR(field("angle_deg").get<double>(), e.angle, 1e-6);
        }
    }
}

TEST(DiffTest, ExitStatusTablesAndTolerance) {
    const std::string counts = "4 moved, 2 added, 1 removed, 2 changed_extra, 1 changed, "
                               "5 unchanged poses in 4 files compared";
    const struct {
        std::string arguments;
        int status;
        std::string present, absent;
    } cases[] = {
        {"diff --format json " + backup("old") + " " + backup("old"), 0, "0 moved", "\"status\""},
        {"diff --format table " + backup("old") + " " + backup("new"), 1,
         "XP1                             5.000     10.000\n", "unchanged  "},
        {"diff --format json " + backup("old") + " " + backup("new"), 1, counts, "\"XP2\""},
        {"diff --format json --tolerance 0.5,0.1 " + backup("old") + " " + backup("new"), 1,
         "\"XP1\"", "fSmall"},
        {"diff --format json " + backup("old/KRC/R1/cell.dat") + " " +
             backup("new/KRC/R1/cell.dat"),
         1, "\"file\":\"cell.dat\",\"name\":\"XP4\"", "fixture.dat"},
        {"diff " + backup("old") + " " + backup("no such backup"), 2, "no such backup", "moved"},
        {"diff --tolerance -1,0 " + backup("old") + " " + backup("new"), 2, "--tolerance", "XP1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = run(c.arguments, true);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_NE(outcome.out.find(c.present), std::string::npos) << outcome.out;
        EXPECT_EQ(outcome.out.find(c.absent), std::string::npos) << outcome.out;
    }
}

} // namespace
