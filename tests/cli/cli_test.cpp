// The real posebridge-cli end to end: started as a user starts it, its
// standard output read back (JSON Lines parsed by a JSON parser), its exit
// status checked. The same tests run natively and, cross-built, under Wine
// against posebridge-cli.exe, with Windows paths.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

namespace {

TEST(CliTest, ListsABackupAsJsonLines) {
    const Outcome listed =
        run("list --format json --to kuka,matrix -j 2 " + quoted(fixtures("backup with blanks")));
    ASSERT_EQ(listed.status, 0) << listed.out;
    const std::vector<nlohmann::json> poses = jsonLines(listed.out);
    ASSERT_FALSE(poses.empty());
    std::map<std::string, int> byVendor;
    for (const nlohmann::json& pose : poses) {
        ASSERT_FALSE(pose.is_discarded()) << listed.out;
        for (const char* key :
             {"file", "line", "column", "name", "vendor", "type", "status", "values", "extra"}) {
            EXPECT_TRUE(pose.contains(key)) << key << " missing in " << pose.dump();
        }
        ++byVendor[pose["vendor"].get<std::string>()];
        if (pose["status"] == "ok") {
            EXPECT_EQ(pose["matrix"].size(), 4u);
            EXPECT_EQ(pose["matrix"][3], nlohmann::json({0.0, 0.0, 0.0, 1.0}));
        } else {
            EXPECT_FALSE(pose.contains("kuka"));
        }
    }
    EXPECT_EQ(byVendor.size(), 3u);

    // The same output for any number of jobs.
    EXPECT_EQ(
        run("list --format json --to kuka,matrix -j 1 " + quoted(fixtures("backup with blanks")))
            .out,
        listed.out);
}

TEST(CliTest, FirstPoseOfACrlfModuleIsReadExactly) {
    const Outcome listed =
        run("list --format json " + quoted(fixtures("backup with blanks/R1/module_crlf.mod")));
    ASSERT_EQ(listed.status, 0);
    const std::vector<nlohmann::json> poses = jsonLines(listed.out);
    ASSERT_FALSE(poses.empty());
    EXPECT_EQ(poses[0]["name"], "pHome");
    EXPECT_EQ(poses[0]["line"], 3);
    EXPECT_EQ(poses[0]["values"]["x"], 812.5);
    EXPECT_EQ(poses[0]["values"]["q3"], 1);
}

TEST(CliTest, CsvHasOneHeaderAndOneRowAPose) {
    const Outcome csv = run("list --format csv " + quoted(fixtures("backup with blanks")));
    const Outcome json = run("list --format json " + quoted(fixtures("backup with blanks")));
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.rfind("file,line,column,name,vendor,type,status,role,kuka_x,", 0), 0u);
    std::size_t rows = 0;
    for (std::size_t at = csv.out.find("\r\n"); at != std::string::npos;
         at = csv.out.find("\r\n", at + 2)) {
        ++rows;
    }
    EXPECT_EQ(rows, jsonLines(json.out).size() + 1);
}

TEST(CliTest, ConvertPrintsTheWindowsCopyFormats) {
    const struct {
        std::string arguments;
        std::string expected;
    } cases[] = {
        {"convert --digits window --to kuka \"[[100,0,50],[0,0,1,0]]\"",
         "{X 100.00, Y 0.00, Z 50.00, A -180.00, B 0.00, C -180.00}\n"},
        {"convert --digits window --to abb \"{X 10, Y 20, Z 30, A 90, B 0, C 0}\"",
         "[[10.00, 20.00, 30.00], [0.7071068, 0.0000000, 0.0000000, 0.7071068]]\n"},
        {"convert --digits window --to fanuc,kuka \"X = 1.5 mm, Y = 2 mm, Z = 3 mm, W = 0 deg, P = "
         "0 deg, R = 90 "
         "deg\"",
         "fanuc:\n  X =    1.500  mm,  Y =    2.000  mm,  Z =    3.000  mm,\n"
         "  W =    0.000 deg,  P =    0.000 deg,  R =   90.000 deg\n"
         "kuka: {X 1.50, Y 2.00, Z 3.00, A 90.00, B 0.00, C 0.00}\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome converted = run(c.arguments);
        EXPECT_EQ(converted.status, 0);
        EXPECT_EQ(converted.out, c.expected);
    }
}

TEST(CliTest, TroubleIsNamedAndExitsWithTwo) {
    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"list " + quoted(fixtures("no such file.dat")), "no such file.dat"},
        {"convert \"{X 10, Y 20, Z 30, A 0, B 90}\"", "lacks C"},
        {"convert \"1 0 0 10 0 1 0 20 0 0 2 30\"", "not orthogonal"},
        {"convert \"1,2,3,4,5,6\"", "--from"},
        {"list --format xml " + quoted(fixtures()), "--format"},
        {"list --strict " + quoted(fixtures("warnings.src")), "warning"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome failed = run(c.arguments, true);
        EXPECT_EQ(failed.status, 2);
        EXPECT_NE(failed.out.find(c.message), std::string::npos) << failed.out;
    }
    // Without --strict a warning is no failure, and it names file, line and column.
    const Outcome warned = run("list --format json " + quoted(fixtures("warnings.src")), true);
    EXPECT_EQ(warned.status, 0);
    EXPECT_NE(warned.out.find("warnings.src:3:"), std::string::npos) << warned.out;
}

TEST(CliTest, StandardInputNeedsAVendor) {
    const Outcome read =
        run("list --format json --vendor kuka - < " + quoted(fixtures("warnings.src")));
    EXPECT_EQ(read.status, 0);
    EXPECT_NE(read.out.find("\"file\":\"-\""), std::string::npos) << read.out;
}

// The first line says what the program does; every command is named.
TEST(CliTest, HelpNamesEveryCommand) {
    const Outcome help = run("--help");
    ASSERT_EQ(help.status, 0);
    const std::string headline = help.out.substr(0, help.out.find('\n'));
    for (const char* word : {"listed", "compared", "moved", "calibrated", "drawn", "converted"}) {
        EXPECT_NE(headline.find(word), std::string::npos) << headline;
    }
    for (const char* command : {"list", "convert", "diff", "rebase", "notations", "frame", "fit",
                                "tool", "plot", "completion"}) {
        EXPECT_NE(help.out.find(std::string("\n  ") + command + " "), std::string::npos)
            << command << " missing in\n"
            << help.out;
    }
}

// A folder without programs is said to be one, on standard error; --strict
// makes it a failure.
TEST(CliTest, ListOfAFolderWithoutProgramsSaysSo) {
    const std::string folder = quoted(fixtures("no programs"));
    const Outcome listed = run("list --format json " + folder, true);
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("no programs: no program file found"), std::string::npos)
        << listed.out;
    EXPECT_EQ(run("list --strict --format json " + folder).status, 2);
}

// Metres as the millimetres were taught: 1035.21 mm is 1.03521 m, in JSON too.
TEST(CliTest, ListGivesMetresWithoutFloatNoise) {
    const Outcome listed = run("list --format json --to ros,urdf " +
                               quoted(fixtures("backup with blanks/KRC/R1/Program/pick.dat")));
    ASSERT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("\"ros\":{\"x\":1.03521,\"y\":-0.0125,\"z\":1.29,"),
              std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("\"urdf\":{\"x\":1.03521,"), std::string::npos) << listed.out;
}

// The README's table of notations is the program's own, word for word.
TEST(CliTest, ReadmeShowsTheProgramsTableOfNotations) {
    const Outcome table = run("notations --markdown");
    ASSERT_EQ(table.status, 0);
    std::ifstream readme(nativePath(std::string(POSEBRIDGE_CLI_FIXTURES) + "/../../../README.md"),
                         std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(readme)),
                           std::istreambuf_iterator<char>());
    ASSERT_GT(table.out.size(), 1000u);
    EXPECT_NE(text.find(table.out), std::string::npos) << table.out;
}

} // namespace
