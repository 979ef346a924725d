// rebase end to end through the real program: nothing but the moved numbers
// changes, a move and its inverse bring every value back, diff sees exactly
// the moved poses, and a run killed at any moment leaves whole files only.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string shown(const fs::path& path) {
    return path.string();
}

const std::string readerFixtures =
    std::string(POSEBRIDGE_CLI_FIXTURES) + "/../../robotfiles/fixtures";

TEST(RebaseTest, IdentityWritesEveryFixtureByteForByte) {
    const fs::path out = scratch("rebase-identity");
    for (const std::string& input : {fixtures("backup with blanks"), nativePath(readerFixtures)}) {
        const Outcome rebased = run("rebase --pre \"{X 0,Y 0,Z 0,A 0,B 0,C 0}\" --post "
                                    "\"[[0,0,0],[1,0,0,0]]\" --out " +
                                        quoted(shown(out / "copy")) + " " + quoted(input),
                                    true);
        // The reader fixtures hold files the readers warn about ("broken"): a
        // file that cannot be rebased safely refuses the whole run, and
        // nothing is written at all.
        const bool broken = input.find("robotfiles") != std::string::npos;
        EXPECT_EQ(rebased.status, broken ? 2 : 0) << rebased.out;
        EXPECT_EQ(fs::exists(out / "copy"), !broken);
        if (broken) {
            EXPECT_NE(rebased.out.find("broken"), std::string::npos) << rebased.out;
            continue;
        }
        // A complete copy: every file, programs and the rest, byte for byte.
        const fs::path root = fs::path(input);
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) {
                continue;
            }
            const fs::path copy = out / "copy" / entry.path().lexically_relative(root);
            SCOPED_TRACE(copy.string());
            EXPECT_EQ(bytesOf(copy), bytesOf(entry.path()));
            EXPECT_EQ(fs::last_write_time(copy), fs::last_write_time(entry.path()));
        }
        fs::remove_all(out / "copy");
    }
}

TEST(RebaseTest, AMoveAndItsInverseBringEveryValueBack) {
    const fs::path folder = scratch("rebase-inverse");
    const std::string frame = "{X 120.5,Y -40,Z 7.25,A 30,B -20,C 10}";
    const std::string tool = "[[0,0,150],[0.9238795,0,0.3826834,0]]";
    ASSERT_EQ(run("rebase --include-frames --pre \"" + frame + "\" --post \"" + tool + "\" --out " +
                  quoted(shown(folder / "there")) + " " + quoted(fixtures("backup with blanks")))
                  .status,
              0);
    ASSERT_EQ(run("rebase --include-frames --pre-inverse \"" + frame + "\" --post-inverse \"" +
                  tool + "\" --out " + quoted(shown(folder / "back")) + " " +
                  quoted(shown(folder / "there")))
                  .status,
              0);
    const auto before =
        jsonLines(run("list --format json " + quoted(fixtures("backup with blanks"))).out);
    const auto after = jsonLines(run("list --format json " + quoted(shown(folder / "back"))).out);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t k = 0; k < before.size(); ++k) {
        SCOPED_TRACE(before[k].dump());
        for (const auto& [key, value] : before[k]["values"].items()) {
            // Positions within float storage; angles on the same branch, where
            // -180 and 180 are one angle; quaternion members within float storage.
            double difference =
                std::fabs(after[k]["values"][key].get<double>() - value.get<double>());
            const bool angle =
                key.size() == 1 && key[0] >= 'a' && key[0] != 'x' && key[0] != 'y' && key[0] != 'z';
            if (angle) {
                difference = std::fmod(difference, 360.0);
                difference = std::min(difference, 360.0 - difference);
            }
            EXPECT_LE(difference, key.size() == 2 ? 1e-6 : 0.001) << key;
        }
        EXPECT_EQ(after[k]["extra"], before[k]["extra"]);
    }
}

TEST(RebaseTest, DiffSeesExactlyTheMovedPoses) {
    const fs::path folder = scratch("rebase-diff");
    const Outcome rebased =
        run("rebase --pre \"{X 3,Y 4,Z 0,A 0,B 0,C 0}\" --out " + quoted(shown(folder / "moved")) +
                " " + quoted(fixtures("backup with blanks")),
            true);
    ASSERT_EQ(rebased.status, 0);
    const std::size_t changed = std::stoul(rebased.out.substr(rebased.out.find("rebase: ") + 8));
    const Outcome compared = run("diff --format json " + quoted(fixtures("backup with blanks")) +
                                 " " + quoted(shown(folder / "moved")));
    EXPECT_EQ(compared.status, 1);
    std::size_t moved = 0;
    for (const nlohmann::json& finding : jsonLines(compared.out)) {
        EXPECT_EQ(finding["status"], "moved") << finding.dump();
        EXPECT_NEAR(finding["distance_mm"].get<double>(), 5.0, 2e-4);
        EXPECT_NEAR(finding["angle_deg"].get<double>(), 0.0, 1e-9);
        ++moved;
    }
    EXPECT_EQ(moved, changed);
    EXPECT_GT(moved, 5u);
}

#ifndef _WIN32
// Kills rebase --in-place at moments spread over its run, between files and
// while it writes, and checks after each kill that every file is whole:
// either the original or the finished result.
TEST(RebaseTest, AKilledRunLeavesOnlyWholeFiles) {
    const fs::path folder = scratch("rebase-kill");
    std::vector<std::string> originals;
    for (int k = 0; k < 4; ++k) {
        std::string text = "DEF cut" + std::to_string(k) + "( )\n";
        for (int line = 0; line < 60000; ++line) {
            text += "LIN {X " + std::to_string(1000 + line % 700) + ".25,Y " +
                    std::to_string(line % 311) + ",Z 400,A 0,B 90,C " + std::to_string(k) +
                    "} C_DIS\n";
        }
        originals.push_back(text + "END\n");
    }
    const auto reset = [&] {
        fs::remove_all(folder / "work");
        fs::create_directories(folder / "work");
        for (std::size_t k = 0; k < originals.size(); ++k) {
            std::ofstream(folder / "work" / ("cut" + std::to_string(k) + ".src"), std::ios::binary)
                << originals[k];
        }
    };
    const std::string frame = "{X 12,Y 0,Z 0,A 0,B 0,C 0}";
    reset();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(run("rebase --no-backup --in-place --pre \"" + frame + "\" " +
                  quoted((folder / "work").string()))
                  .status,
              0);
    const auto whole = std::chrono::steady_clock::now() - started;
    std::vector<std::string> results;
    for (std::size_t k = 0; k < originals.size(); ++k) {
        results.push_back(bytesOf(folder / "work" / ("cut" + std::to_string(k) + ".src")));
        ASSERT_NE(results[k], originals[k]);
    }

    for (int attempt = 1; attempt <= 12; ++attempt) {
        SCOPED_TRACE(attempt);
        reset();
        const pid_t child = fork();
        if (child == 0) {
            const std::string program = POSEBRIDGE_CLI_PATH;
            const std::string work = (folder / "work").string();
            std::freopen("/dev/null", "w", stderr);
            execl(program.c_str(), program.c_str(), "rebase", "--in-place", "--pre", frame.c_str(),
                  work.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        std::this_thread::sleep_for(whole * attempt / 12);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        for (std::size_t k = 0; k < originals.size(); ++k) {
            const std::string now = bytesOf(folder / "work" / ("cut" + std::to_string(k) + ".src"));
            EXPECT_TRUE(now == originals[k] || now == results[k])
                << "cut" << k << " is half written";
        }
    }
}
#endif

} // namespace
