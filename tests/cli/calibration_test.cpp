// frame, fit and tool end to end through the real program, on fixture files
// of each vendor generated from known frames and a known tool: each must
// give back what the points were made from, refuse by name, and hand rebase
// a frame that fit finds again.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string calibration(const std::string& name) {
    return quoted(fixtures("calibration/" + name));
}

std::string ref(const std::string& file, const std::string& name) {
    return quoted(fixtures("calibration/" + file) + ":" + name);
}

// The members of the notation in the JSON object, against what the fixture
// was made from: positions within the files' 0.001 mm, angles and
// quaternion members within what that rounding turns them.
void expectMembers(const nlohmann::json& object, const std::string& notation,
                   const std::vector<std::pair<std::string, double>>& expected, double tolerance) {
    for (const auto& [key, value] : expected) {
        ASSERT_TRUE(object[notation].contains(key)) << object.dump();
        EXPECT_NEAR(object[notation][key].get<double>(), value, tolerance)
            << notation << " " << key;
    }
}

const std::vector<std::pair<std::string, double>> base = {{"x", 900},  {"y", -400}, {"z", 300},
                                                          {"a", 35.5}, {"b", 0.8},  {"c", -0.4}};

TEST(CalibrationTest, EachVendorsFixtureGivesBackTheFrameItWasMadeFrom) {
    struct Case {
        std::string arguments;
        std::string notation;
        std::vector<std::pair<std::string, double>> expected;
        double tolerance;
    };
    const std::string points = ref("Get3Basepoints.dat", "gfMeasPoint[1]") + " " +
                               ref("Get3Basepoints.dat", "GFMEASPOINT[2]") + " " +
                               ref("Get3Basepoints.dat", "gfmeaspoint[3]");
    const Case cases[] = {
        {"frame --method kuka " + points, "kuka", base, 2e-3},
        {"fit " + calibration("base_nominal.csv") + " " + calibration("Get3Basepoints.dat"), "kuka",
         base, 2e-3},
        {"frame --method fanuc4 --points " + calibration("UFRAME3.LS"),
         "fanuc",
         {{"x", 1500}, {"y", 300}, {"z", 450}, {"w", 0}, {"p", 0}, {"r", 30}},
         2e-3},
        {"tool --points " + calibration("TCP_tSpindleSensor.mod") +
             " --select \"pTCP_Point*\" --z-pose " + ref("TCP_tSpindleSensor.mod", "pTCP_Z") +
             " --x-pose " + ref("TCP_tSpindleSensor.mod", "pTCP_X"),
         "abb",
         {{"x", 12.5},
          {"y", -3.2},
          {"z", 185.4},
          {"q1", 0.98480775},
          {"q2", 0},
          {"q3", 0.17364818},
          {"q4", 0}},
         2e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome json = run(c.arguments + " --format json");
        ASSERT_EQ(json.status, 0);
        const nlohmann::json object = nlohmann::json::parse(json.out, nullptr, false);
        expectMembers(object, c.notation, c.expected, c.tolerance);
        // The matrix and the notation are one frame.
        EXPECT_NEAR(object["frame"][0][3].get<double>(), object[c.notation]["x"].get<double>(),
                    1e-12);
        // As text: the vendor's own form alone, which convert reads back.
        const Outcome text = run(c.arguments);
        ASSERT_EQ(text.status, 0);
        EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 1) << text.out;
        const Outcome back = run("convert --to " + c.notation + " " +
                                 quoted(text.out.substr(0, text.out.find('\n'))));
        EXPECT_EQ(back.status, 0) << text.out;
    }
}

TEST(CalibrationTest, RefusalsAndBoundsNameThePointsAndSetTheExitStatus) {
    struct Case {
        std::string arguments;
        int status;
        std::string named;
    };
    const Case cases[] = {
        {"frame --method kuka 0,0,0 100,0,0 250,0,0", 2, "lie on one line"},
        {"frame --method abb " + ref("Get3Basepoints.dat", "gfMeasPoint[9]") + " 1,2,3 4,5,6", 2,
         "no pose named gfMeasPoint[9]"},
        {"frame --method fanuc4 0,0,0 100,0,0 0,100,0", 2, "takes 4 points, not 3"},
        {"tool --points " + calibration("TCP_tSpindleSensor.mod") +
             " --select \"pTCP_Point1,pTCP_Point4,pTCP_Z,pTCP_X\"",
         2, "pTCP_Point1, pTCP_Point4, pTCP_X and pTCP_Z is turned about one axis"},
        {"tool --points " + calibration("TCP_tSpindleSensor.mod") +
             " --select \"pTCP_Point*\" --z-pose " + ref("TCP_tSpindleSensor.mod", "pTCP_Point2"),
         2, "--z-pose pTCP_Point2 is turned by"},
        {"tool 0,0,0 1,0,0 0,1,0 0,0,1", 2, "a whole pose is needed"},
        {"fit --select \"REF1,REF2\" " + calibration("old/fixture.dat") + " " +
             calibration("new/fixture.dat"),
         2, "at least 3 pairs"},
        {"fit --max-error 0.015 --select \"REF*\" " + calibration("old/fixture.dat") + " " +
             calibration("new/fixture.dat"),
         1, "REF1 (0.021 mm): residual above --max-error 0.015 mm"},
        {"fit --max-error 0.015 --exclude REF1,REF2,REF3 --select \"REF*\" " +
             calibration("old/fixture.dat") + " " + calibration("new/fixture.dat"),
         2, "there are 1 (REF4)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = run(c.arguments, true);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_NE(outcome.out.find(c.named), std::string::npos) << outcome.out;
    }
}

TEST(CalibrationTest, TablesOfPointsInEachLayoutMatchByNameOrAreRefusedByLine) {
    const fs::path folder = fs::temp_directory_path() / "posebridge-calibration-tables";
    fs::remove_all(folder);
    fs::create_directories(folder);
    struct Case {
        const char* text;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"gfMeasPoint[1],0,0,0\ngfMeasPoint[2],600,0,0\ngfMeasPoint[3],250,450,0\n", 0, ""},
        {"# tracker export\r\nname;x;y;z\r\n\"GFMEASPOINT[1]\"; 0; 0; 0\r\n"
         "gfMeasPoint[2];+600;0;0\r\ngfMeasPoint[3];250;450;0\r\n",
         0, ""},
        {"gfMeasPoint[1] 0 0 0\ngfMeasPoint[2]\t600 0 0\ngfMeasPoint[3] 250.0 450 0e0\n", 0, ""},
        {"name,x,y,z\ngfMeasPoint[1],0,0,0\ngfMeasPoint[2],600,0\n", 2,
         "table.csv:3:1: expected name,x,y,z"},
        {"gfMeasPoint[1],0,0,0\ngfMeasPoint[2],600,0x1,0\n", 2,
         "table.csv:2:20: expected a finite number for y"},
        {"gfMeasPoint[1],0,0,0\ngfMeasPoint[2],nan,0,0\n", 2,
         "table.csv:2:16: expected a finite number for x"},
        {"P,0,0,0\nQ,1,0,0\np,2,0,0\n", 2, "table.csv:3:1: p is named twice, first on line 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(folder / "table.csv", std::ios::binary) << c.text;
        const Outcome outcome = run("fit --format json " + quoted((folder / "table.csv").string()) +
                                        " " + calibration("Get3Basepoints.dat"),
                                    true);
        EXPECT_EQ(outcome.status, c.status) << outcome.out;
        EXPECT_NE(outcome.out.find(c.message), std::string::npos) << outcome.out;
        if (c.status == 0) {
            // Standard error's notes of points left out may come before or
            // after the object: it is the one line that starts with '{'.
            const std::size_t at = outcome.out[0] == '{' ? 0 : outcome.out.find("\n{") + 1;
            const std::size_t end = outcome.out.find('\n', at);
            const nlohmann::json object =
                nlohmann::json::parse(outcome.out.substr(at, end - at), nullptr, false);
            expectMembers(object, "kuka", base, 2e-3);
            EXPECT_EQ(object["pairs"].size(), 3u);
        }
    }
}

// Names as the languages compare them, in natural order, FANUC's groups
// named apart, and a name that matches twice refused.
TEST(CalibrationTest, PointsAreFoundByNameAsEachLanguageComparesNames) {
    const fs::path folder = fs::temp_directory_path() / "posebridge-calibration-names";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "base.dat", std::ios::binary)
        << "DEFDAT base\nDECL POS xp10={X 0,Y 100,Z 0,A 0,B 0,C 0}\n"
           "DECL POS XP2={X 100,Y 0,Z 0,A 0,B 0,C 0}\nDECL POS Xp1={X 0,Y 0,Z 0,A 0,B 0,C 0}\n"
           "DECL POS XPTWICE={X 1,Y 0,Z 0,A 0,B 0,C 0}\nDECL POS xptwice={X 2,Y 0,Z 0,A 0,B 0,C "
           "0}\n"
           "ENDDAT\n";
    std::ofstream(folder / "UF1.LS", std::ios::binary)
        << "/PROG UF1\n/POS\n"
           "P[1]{\n GP1:\n UF : 0, UT : 1, CONFIG : 'N U T, 0, 0, 0',\n"
           " X = 0.0 mm, Y = 0.0 mm, Z = 0.0 mm,\n W = 0.0 deg, P = 0.0 deg, R = 0.0 deg\n"
           " GP2:\n UF : 0, UT : 1, CONFIG : 'N U T, 0, 0, 0',\n"
           " X = 10.0 mm, Y = 0.0 mm, Z = 0.0 mm,\n W = 0.0 deg, P = 0.0 deg, R = 0.0 "
           "deg\n};\n/END\n";
    const std::string dat = (folder / "base.dat").string();
    const Outcome natural =
        run("frame --format json --method kuka --points " + quoted(dat) + " --select \"xp?,XP??\"");
    ASSERT_EQ(natural.status, 0);
    const nlohmann::json object = nlohmann::json::parse(natural.out, nullptr, false);
    ASSERT_EQ(object["points"].size(), 3u);
    EXPECT_EQ(object["points"][0]["name"], "Xp1");
    EXPECT_EQ(object["points"][1]["name"], "XP2");
    EXPECT_EQ(object["points"][2]["name"], "xp10");
    EXPECT_NE(object["points"][2]["source"].get<std::string>().find("base.dat:2"),
              std::string::npos);
    // X toward XP2 and the plane point on +Y: the identity.
    EXPECT_EQ(object["frame"], nlohmann::json::parse("[[1,0,0,0],[0,1,0,0],[0,0,1,0],[0,0,0,1]]"));

    const Outcome twice = run("frame --method kuka " + quoted(dat + ":xp1") + " " +
                                  quoted(dat + ":XPTwice") + " 0,50,0",
                              true);
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.out.find("XPTwice matches twice, at lines 5 and 6"), std::string::npos)
        << twice.out;
    // P[1] of group 2 is a pose of its own; P[1] alone is group 1's.
    for (const auto& [name, x] : {std::pair{"P[1] gp2", 10.0}, std::pair{"p[1]", 0.0}}) {
        const Outcome group =
            run("frame --format json --method kuka " +
                quoted((folder / "UF1.LS").string() + ":" + name) + " 100,0,0 0,100,0");
        ASSERT_EQ(group.status, 0) << name;
        const nlohmann::json first = nlohmann::json::parse(group.out, nullptr, false)["points"][0];
        EXPECT_EQ(first["position"]["x"], x) << name;
        EXPECT_EQ(first["name"], x == 0.0 ? "P[1]" : "P[1] GP2");
    }
}

TEST(CalibrationTest, AMirroredTableIsWarnedAboutAndTwoFoldersPairFileByFile) {
    const fs::path folder = fs::temp_directory_path() / "posebridge-calibration-mirror";
    fs::remove_all(folder);
    fs::create_directories(folder);
    // The base points in base coordinates, Z turned over: a left-handed export.
    std::ofstream(folder / "mirrored.csv", std::ios::binary)
        << "gfMeasPoint[1],0,0,0\ngfMeasPoint[2],600,0,0\ngfMeasPoint[3],250,450,0\n"
           "gfMeasPoint[6],300,225,0\ngfMeasPoint[7],300,225,-120\n";
    const Outcome mirrored = run("fit --format json " + quoted((folder / "mirrored.csv").string()) +
                                     " " + calibration("Get3Basepoints.dat"),
                                 true);
    EXPECT_EQ(mirrored.status, 0);
    EXPECT_NE(mirrored.out.find("look like a mirror image"), std::string::npos) << mirrored.out;
    EXPECT_NE(mirrored.out.find("\"mirrored\":true"), std::string::npos);

    const Outcome folders = run("fit --format json --select \"REF*\" --exclude fixture.dat:REF4 " +
                                calibration("old") + " " + calibration("new"));
    ASSERT_EQ(folders.status, 0);
    const nlohmann::json object = nlohmann::json::parse(folders.out, nullptr, false);
    ASSERT_EQ(object["pairs"].size(), 3u);
    EXPECT_EQ(object["pairs"][0]["name"], "fixture.dat:REF1");
    EXPECT_EQ(object["worst"], "fixture.dat:REF2");
}

// The fixture moved by a known frame: rebase moves the reference points by
// it, and fit of the old points against the rebased ones finds it again.
TEST(CalibrationTest, FitGivesBackTheFrameThatRebaseUsed) {
    const fs::path folder = fs::temp_directory_path() / "posebridge-calibration-chain";
    fs::remove_all(folder);
    const std::string frame = "{X 14.2, Y -6.5, Z 1.8, A 1.2, B -0.3, C 0.5}";
    ASSERT_EQ(run("rebase --pre " + quoted(frame) + " --out " +
                  quoted((folder / "moved").string()) + " " + calibration("old/fixture.dat"))
                  .status,
              0);
    const Outcome fit =
        run("fit --format json --select \"REF*,XP*\" " + calibration("old/fixture.dat") + " " +
            quoted((folder / "moved" / "fixture.dat").string()));
    ASSERT_EQ(fit.status, 0);
    const nlohmann::json object = nlohmann::json::parse(fit.out, nullptr, false);
    expectMembers(object, "kuka",
                  {{"x", 14.2}, {"y", -6.5}, {"z", 1.8}, {"a", 1.2}, {"b", -0.3}, {"c", 0.5}},
                  1e-3);
    EXPECT_EQ(object["pairs"].size(), 7u);
    EXPECT_LT(object["max_mm"].get<double>(), 1e-3);
    EXPECT_FALSE(object["mirrored"].get<bool>());
}

} // namespace
