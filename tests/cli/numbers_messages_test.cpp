// What a new user met around the numbers: a value read from a file printed
// the same in every output, the file's own notation giving its own values,
// convert's decimals, messages that say what is wrong, and fit on whole
// programs.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

// The values as the file holds them, in JSON, CSV and the table alike;
// converted values keep their digits.
TEST(NumbersTest, AValueReadIsPrintedAsTheFileHoldsItEverywhere) {
    const std::string dat = quoted(fixtures("numbers/cell.dat"));
    const auto json = jsonLines(run("list --format json --to kuka " + dat).out);
    ASSERT_FALSE(json.empty());
    const std::string csv = run("list --format csv --to kuka " + dat).out;
    const std::string table = run("list --format table " + dat).out;
    const struct {
        const char* key;
        const char* text;
    } cases[] = {{"x", "1196.9244"}, {"y", "-313.4051"}, {"a", "-89.65274"}, {"c", "179.95"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(json[0]["values"][c.key].dump(), c.text);
        EXPECT_EQ(json[0]["kuka"][c.key].dump(), c.text); // --to of its own notation
        EXPECT_NE(csv.find(std::string(",") + c.text + ","), std::string::npos) << csv;
        EXPECT_NE(table.find(std::string(" ") + c.text), std::string::npos) << table;
    }
    // An ABB file's own quaternion, with the sign it was written with.
    const auto abb =
        jsonLines(run("list --format json --to abb " + quoted(fixtures("numbers/Cell.mod"))).out);
    ASSERT_EQ(abb.size(), 1u);
    EXPECT_EQ(abb[0]["abb"]["q1"], -0.5);
    EXPECT_EQ(abb[0]["abb"]["q3"], -0.5);
    // Points read by frame are printed as read; the frame itself is computed.
    const auto frame = jsonLines(run("frame --format json --method kuka " +
                                     quoted(fixtures("numbers/cell.dat") + ":XPICK") +
                                     " 1300,-300,900 1200,-100,900")
                                     .out);
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0]["points"][0]["position"]["x"].dump(), "1196.9244");
}

TEST(NumbersTest, ConvertGivesFineDigitsAndRoundsOnce) {
    const struct {
        const char* arguments;
        const char* expected;
    } cases[] = {
        {"--to kuka \"{X 1, Y 2, Z 3, A -89.6527405, B 0, C 0}\"",
         "{X 1.000, Y 2.000, Z 3.000, A -89.6527, B 0.0000, C 0.0000}\n"},
        {"--digits window --to kuka \"{X 1, Y 2, Z 3, A -89.6527405, B 0, C 0}\"",
         "{X 1.00, Y 2.00, Z 3.00, A -89.65, B 0.00, C 0.00}\n"},
        {"--to abb \"{X 1, Y 2, Z 3, A 90, B 0, C 0}\"",
         "[[1.000,2.000,3.000],[0.70710678,0.00000000,0.00000000,0.70710678]]\n"},
        // 1442.2115478515625 mm is 1.4422115478515625 m: 1.442212, not the
        // 1.442211 of rounding the decimal 1.4422115 again.
        {"--from fanuc --to ur \"X = 0 mm, Y = 1442.2115478515625 mm, Z = 0 mm, W = 0 deg, P = 0 "
         "deg, R = 0 deg\"",
         "p[0.000000, 1.442212, 0.000000, 0.000000, 0.000000, 0.000000]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = run(std::string("convert ") + c.arguments);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, c.expected);
    }
}

TEST(MessagesTest, EachSaysWhatIsWrong) {
    const std::string dat = fixtures("numbers/cell.dat");
    const struct {
        std::string arguments;
        int status;
        std::string message;
    } cases[] = {
        {"frame --method kuka " + quoted(fixtures("nosuch.dat") + ":P1") + " 0,0,0 1,0,0", 2,
         "nosuch.dat: no such file (in the point "},
        {"frame --method kuka 1OO,0,0 100,0,0 0,100,0", 2, "1OO is not a number"},
        {"convert 1OO,0,0,0,0,0", 2, "1OO is not a number"},
        // A refusal names each point with where it was read.
        {"frame --method kuka " + quoted(dat + ":XPICK") + " " + quoted(dat + ":XAPP2PICK") +
             " 0,100,0",
         2, "XPICK at "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = run(c.arguments, true);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_NE(outcome.out.find(c.message), std::string::npos) << outcome.out;
    }
    // A file three points refer to warns once.
    const fs::path folder = fs::temp_directory_path() / "posebridge-messages";
    fs::create_directories(folder);
    std::ofstream(folder / "warned.dat", std::ios::binary)
        << "DEFDAT warned\nDECL E6POS P1={X 0,Y 0,Z 0,A 0,B 0,C 0}\nDECL E6POS P2={X 100,Y 0,Z "
           "0,A 0,B 0,C 0}\nDECL E6POS P3={X 0,Y 100,Z 0,A 0,B 0,C 0}\nDECL E6POS BAD={X 1,Y}\n"
           "ENDDAT\n";
    const std::string warned = nativePath((folder / "warned.dat").string());
    const Outcome once = run("frame --method kuka " + quoted(warned + ":P1") + " " +
                                 quoted(warned + ":P2") + " " + quoted(warned + ":P3"),
                             true);
    EXPECT_EQ(once.status, 0) << once.out;
    EXPECT_EQ(count(once.out, "expected a number after Y"), 1u) << once.out;
}

TEST(FitTest, WholeProgramsFitWithTwinsAndNameWhatIsLeftOut) {
    const fs::path folder = fs::temp_directory_path() / "posebridge-fit-programs";
    fs::create_directories(folder);
    std::ofstream(folder / "nominal.csv") << "name,x,y,z\nP1,0,0,0\nP2,100,0,0\nP3,0,100,0\n"
                                             "P3B,0,100,0\nP4,50,50,0\n";
    std::ofstream(folder / "measured.csv") << "P1,10,0,0\nP2,110,0,0\nP3,10,100,0\nP3B,10,100,0\n"
                                              "P5,1,1,1\n";
    const std::string both = quoted(nativePath((folder / "nominal.csv").string())) + " " +
                             quoted(nativePath((folder / "measured.csv").string()));
    // P3 and P3B stand at one spot: harmless in a least-squares fit.
    const Outcome fit = run("fit --format json " + both, true);
    EXPECT_EQ(fit.status, 0) << fit.out;
    EXPECT_NE(fit.out.find("P4: only in"), std::string::npos) << fit.out;
    EXPECT_NE(fit.out.find("P5: only in"), std::string::npos) << fit.out;
    const auto json = jsonLines(run("fit --format json " + both).out);
    ASSERT_EQ(json.size(), 1u);
    ASSERT_EQ(json[0]["unmatched"].size(), 2u);
    EXPECT_EQ(json[0]["unmatched"][0]["name"], "P4");
    EXPECT_EQ(json[0]["pairs"].size(), 4u);
    EXPECT_EQ(run("fit --strict " + both).status, 2);
    // frame's three points may not share a spot.
    EXPECT_EQ(run("frame --method kuka 0,0,0 0,0,0 0,100,0").status, 2);
}

TEST(TableTest, ColumnsStayInLineAndDiffCountsOnce) {
    const Outcome table = run("list --format table " + quoted(fixtures("numbers")), true);
    EXPECT_NE(table.out.find("XA_NAME_MUCH_LONGER_THA\xE2\x80\xA6 "), std::string::npos)
        << table.out;
    EXPECT_NE(table.out.find("1 names or paths longer than their column were cut"),
              std::string::npos);
    const Outcome diff = run("diff --format table " + quoted(fixtures("diff/old")) + " " +
                                 quoted(fixtures("diff/new")),
                             true);
    EXPECT_EQ(count(diff.out, "poses in"), 1u) << diff.out;
    const Outcome frame = run("frame --method kuka 0,0,0 100,0,0 30,80,0", true);
    EXPECT_NE(frame.out.find("the angle at 30,80,0 (the plane point) is 61.7420 deg"),
              std::string::npos)
        << frame.out;
    EXPECT_NE(frame.out.find("meet at 69.4440 deg at 0,0,0 (90 is square)"), std::string::npos)
        << frame.out;
}

} // namespace
