// Roles end to end on a backup that holds every construct: rebase moves the
// positions and nothing else (the others only with their option), diff sees
// a changed joint position, and a refused rebase writes nothing at all.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string frame = "\"{X 12.5,Y -7.25,Z 3,A 1.5,B -0.4,C 0.3}\"";

// Each record of a listing by where it stands: its role and its values.
std::map<std::string, nlohmann::json> recordsOf(const std::string& root) {
    std::map<std::string, nlohmann::json> records;
    for (const nlohmann::json& record : jsonLines(run("list --format json " + quoted(root)).out)) {
        const std::string file = record["file"];
        const std::string relative = file.substr(root.size());
        records[relative + ":" + std::to_string(record["line"].get<int>()) + ":" +
                std::to_string(record["column"].get<int>()) + ":" +
                std::to_string(record.value("group", 0))] = record;
    }
    return records;
}

TEST(RolesTest, RebaseMovesWhatItsOptionsSayAndNothingElse) {
    const std::string input = fixtures("roles");
    const auto before = recordsOf(input);
    ASSERT_EQ(before.size(), 33u);
    const struct {
        const char* options;
        std::set<std::string> moved; // the roles that must move
    } cases[] = {
        {"", {"position"}},
        {"--include-frames", {"position", "frame"}},
        {"--include-assignments --include-frames", {"position", "frame", "assignment"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const fs::path out = scratch("roles-rebase") / "copy";
        const Outcome rebased =
            run(std::string("rebase ") + c.options + " --pre " + frame + " --out " +
                    quoted(nativePath(out.string())) + " " + quoted(input),
                true);
        ASSERT_EQ(rebased.status, 0) << rebased.out;
        const auto after = recordsOf(nativePath(out.string()));
        ASSERT_EQ(after.size(), before.size());
        for (const auto& [where, record] : before) {
            SCOPED_TRACE(where);
            const nlohmann::json& moved = after.at(where);
            const bool shouldMove = c.moved.count(record["role"]) > 0 &&
                                    record["type"] != "wobjdata" && record["status"] == "ok";
            EXPECT_EQ(moved["role"], record["role"]);
            EXPECT_EQ(moved["values"] != record["values"], shouldMove);
            EXPECT_EQ(moved.value("axes", nlohmann::json()),
                      record.value("axes", nlohmann::json()));
        }
        // The rest of the copy: byte for byte, the file that is no program too.
        EXPECT_EQ(bytesOf(out / "notes.txt"),
                  bytesOf(fs::path(POSEBRIDGE_CLI_FIXTURES) / "roles" / "notes.txt"));
        // An assignment left alone is named.
        EXPECT_EQ(rebased.out.find("XP2 is assigned in code") != std::string::npos,
                  c.moved.count("assignment") == 0)
            << rebased.out;
    }
}

TEST(RolesTest, DiffComparesJointPositionsAxisByAxis) {
    const fs::path folder = scratch("roles-joints");
    const fs::path dat =
        fs::path(POSEBRIDGE_CLI_FIXTURES) / "roles/KRC/R1/Program/St1_Job1_Side1.dat";
    std::string text = bytesOf(dat);
    const std::string old = "A2 -90,A3 90";
    text.replace(text.find(old), old.size(), "A2 -89.5,A3 90");
    std::ofstream(folder / "St1_Job1_Side1.dat", std::ios::binary) << text;
    const Outcome compared = run("diff --format json " + quoted(nativePath(dat.string())) + " " +
                                 quoted(nativePath((folder / "St1_Job1_Side1.dat").string())));
    EXPECT_EQ(compared.status, 1);
    const auto findings = jsonLines(compared.out);
    ASSERT_EQ(findings.size(), 1u) << compared.out;
    EXPECT_EQ(findings[0]["name"], "XHOME");
    EXPECT_EQ(findings[0]["status"], "moved");
    EXPECT_DOUBLE_EQ(findings[0]["max_axis_deg"].get<double>(), 0.5);
    // Within --joint-tolerance it is the same position.
    EXPECT_EQ(run("diff --joint-tolerance 0.6 " + quoted(nativePath(dat.string())) + " " +
                  quoted(nativePath((folder / "St1_Job1_Side1.dat").string())))
                  .status,
              0);
}

// One file that cannot be rebased safely among several: no output folder,
// and in place no file changed.
TEST(RolesTest, ARefusedRebaseWritesNothing) {
    const fs::path folder = scratch("roles-refused");
    fs::copy(fs::path(POSEBRIDGE_CLI_FIXTURES) / "roles", folder / "in",
             fs::copy_options::recursive);
    std::ofstream(folder / "in" / "RAPID" / "Broken.mod", std::ios::binary)
        << "MODULE Broken\n  CONST robtarget p1 := [[1,2,3],[1,0,0,0],[0,0,0,0]];\nENDMODULE\n";
    std::map<fs::path, std::string> original;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "in")) {
        if (entry.is_regular_file()) {
            original[entry.path()] = bytesOf(entry.path());
        }
    }
    const std::string in = quoted(nativePath((folder / "in").string()));
    const Outcome copied = run("rebase --pre " + frame + " --out " +
                                   quoted(nativePath((folder / "out").string())) + " " + in,
                               true);
    EXPECT_EQ(copied.status, 2);
    EXPECT_NE(copied.out.find("Broken.mod"), std::string::npos) << copied.out;
    EXPECT_FALSE(fs::exists(folder / "out"));
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename().string().find(".out"), std::string::npos)
            << "a staged folder was left behind: " << entry.path();
    }
    const Outcome inPlace = run("rebase --pre " + frame + " --in-place " + in, true);
    EXPECT_EQ(inPlace.status, 2);
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "in")) {
        if (entry.is_regular_file()) {
            ++files;
            EXPECT_EQ(bytesOf(entry.path()), original[entry.path()]) << entry.path();
        }
    }
    EXPECT_EQ(files, original.size()); // no NAME.bak, no temporary file
}

} // namespace
