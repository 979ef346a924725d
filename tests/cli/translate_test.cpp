// translate end to end through the real program: there and back for the six
// directions on the fixtures and the example cell with diff seeing no moved
// position, the written programs read back by list with the same poses, a
// report entry for every source line, refusals that write nothing, the exit
// statuses, and a run killed at any moment leaving no half-written program.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Options as typed at the shell: KRL's $OUT[3] must reach the program as
// it is, which a POSIX shell would expand; cmd.exe leaves '$' alone.
std::string typed(const std::string& options) {
    std::string text;
    for (const char c : options) {
#ifndef _WIN32
        if (c == '$') {
            text += '\\';
        }
#endif
        text += c;
    }
    return text;
}

std::string upper(std::string text) {
    for (char& c : text) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

// The file of the folder with this name, letters compared without regard to
// case (a FANUC program name is upper case).
fs::path findFile(const fs::path& folder, const std::string& name) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (upper(entry.path().filename().string()) == upper(name)) {
            return entry.path();
        }
    }
    return folder / name;
}

std::string cellPath(const std::string& name) {
    return nativePath(std::string(POSEBRIDGE_CLI_FIXTURES) + "/../../../docs/example-cell/" + name);
}

struct Direction {
    const char* to;
    const char* there; // the maps and options, as typed
    const char* back;
    const char* backTo;
};

struct Program {
    std::string source;   // the file or files translated, quoted
    std::string compared; // the source file whose poses the round trip must give back
    int unchanged;        // poses found back in place, at least
    std::vector<Direction> directions;
};

std::vector<Program> programs() {
    return {
        {quoted(fixtures("translate/kuka/pick.src")),
         fixtures("translate/kuka/pick.dat"),
         6,
         {{"abb",
           "--frame 3=wobjTray --tool 1=tGripper --signal $OUT[3]=doGrip,$IN[2]=diPart "
           "--blend C_PTP100=z50 --joint-speed 1500",
           "--frame wobjTray=3 --tool tGripper=1 --signal doGrip=$OUT[3],diPart=$IN[2] "
           "--joint-speed 1500",
           "kuka"},
          {"fanuc",
           "--frame 3=3 --tool 1=1 --signal $OUT[3]=DO[3],$IN[2]=DI[2] "
           "--blend C_PTP100=CNT100,C_DIS20=CNT20,C_DIS5=CNT5",
           "--frame 3=3 --tool 1=1 --signal DO[3]=$OUT[3],DI[2]=$IN[2] "
           "--blend CNT100=C_PTP100,CNT20=C_DIS20,CNT5=C_DIS5",
           "kuka"}}},
        {quoted(fixtures("translate/abb/Seam.mod")),
         fixtures("translate/abb/Seam.mod"),
         4,
         {{"kuka",
           "--frame wDoor=5 --tool tNozzle=2 --signal doSealer=$OUT[7],diClamp=$IN[4],"
           "doDone=$OUT[8] --joint-speed 2000",
           "--frame 5=wDoor --tool 2=tNozzle --signal $OUT[7]=doSealer,$IN[4]=diClamp,"
           "$OUT[8]=doDone --joint-speed 2000",
           "abb"},
          {"fanuc",
           "--frame wDoor=5 --tool tNozzle=2 --signal doSealer=DO[7],diClamp=DI[4],doDone=DO[8] "
           "--blend z50=CNT80,z10=CNT30,zSeal=CNT10 --joint-speed 2000",
           "--frame 5=wDoor --tool 2=tNozzle --signal DO[7]=doSealer,DI[4]=diClamp,DO[8]=doDone "
           "--blend CNT80=z50,CNT30=z10,CNT10=z5 --joint-speed 2000",
           "abb"}}},
        {quoted(fixtures("translate/fanuc/DEBURR.LS")),
         fixtures("translate/fanuc/DEBURR.LS"),
         4,
         {{"kuka",
           "--frame 2=2 --tool 4=4 --signal DO[12]=$OUT[12],DI[5]=$IN[5],DO[14]=$OUT[14] "
           "--blend CNT50=C_PTP50,CNT20=C_DIS5",
           "--frame 2=2 --tool 4=4 --signal $OUT[12]=DO[12],$IN[5]=DI[5],$OUT[14]=DO[14] "
           "--blend C_PTP50=CNT50,C_DIS5=CNT20",
           "fanuc"},
          {"abb",
           "--frame 2=wHousing --tool 4=tBurr --signal DO[12]=doSpindle,DI[5]=diAtSpeed,"
           "DO[14]=doBlow --blend CNT50=z20,CNT20=z5 --joint-speed 2000",
           "--frame wHousing=2 --tool tBurr=4 --signal doSpindle=DO[12],diAtSpeed=DI[5],"
           "doBlow=DO[14] --blend z20=CNT50,z5=CNT20 --joint-speed 2000",
           "fanuc"}}},
        {quoted(cellPath("RAPID/Weld.mod")),
         cellPath("RAPID/Weld.mod"),
         1,
         {{"kuka", "--frame wobj0=1 --tool tTorch=1", "--frame 1=wobj0 --tool 1=tTorch", "abb"},
          {"fanuc", "--frame wobj0=1 --tool tTorch=1", "--frame 1=wobj0 --tool 1=tTorch", "abb"}}},
        {quoted(cellPath("fanuc/GLUE.LS")),
         cellPath("fanuc/GLUE.LS"),
         6,
         {{"kuka", "--frame 0=1 --tool 1=1 --blend CNT100=C_DIS10",
           "--frame 1=0 --tool 1=1 --blend C_DIS10=CNT100", "fanuc"},
          {"abb", "--frame 0=wobjGlue --tool 1=tGun --blend CNT100=z50",
           "--frame wobjGlue=0 --tool tGun=1 --blend z50=CNT100", "fanuc"}}},
        {quoted(cellPath("KRC/R1/Program/pallet.dat")),
         cellPath("KRC/R1/Program/pallet.dat"),
         0,
         {{"abb", "", "", "kuka"}, {"fanuc", "", "", "kuka"}}},
    };
}

// The counts diff prints last on standard error: "N moved, N added, ...".
std::map<std::string, int> diffCounts(const std::string& text) {
    std::map<std::string, int> counts;
    const std::regex count("([0-9]+) (moved|added|removed|changed_extra|changed|unchanged)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), count);
         it != std::sregex_iterator(); ++it) {
        counts[(*it)[2]] = std::stoi((*it)[1]);
    }
    return counts;
}

TEST(TranslateTest, ThereAndBackOnEveryFixtureAndTheExampleCellMovesNoPosition) {
    const fs::path folder = scratch("translate-round-trip");
    int run_ = 0;
    for (const Program& program : programs()) {
        for (const Direction& d : program.directions) {
            SCOPED_TRACE(program.source + " to " + d.to);
            const fs::path there = folder / ("there" + std::to_string(run_));
            const fs::path back = folder / ("back" + std::to_string(run_++));
            const Outcome out = run(std::string("translate --to ") + d.to + " " + typed(d.there) +
                                        " --config controller --out " + quoted(there.string()) +
                                        " " + program.source,
                                    true);
            ASSERT_LE(out.status, 1) << out.out;
            const Outcome home = run(std::string("translate --to ") + d.backTo + " " +
                                         typed(d.back) + " --config controller --out " +
                                         quoted(back.string()) + " " + quoted(there.string()),
                                     true);
            ASSERT_LE(home.status, 1) << home.out;
            const std::string name = fs::path(program.compared).filename().string();
            const fs::path returned = findFile(back, name);
            ASSERT_TRUE(fs::exists(returned)) << returned.string() << "\n" << home.out;
            const Outcome diff = run("diff --format json " + quoted(program.compared) + " " +
                                         quoted(returned.string()),
                                     true);
            const std::map<std::string, int> counts = diffCounts(diff.out);
            ASSERT_EQ(counts.count("moved"), 1u) << diff.out;
            EXPECT_EQ(counts.at("moved"), 0) << diff.out;
            EXPECT_EQ(counts.at("changed"), 0) << diff.out;
            // The configuration never carries over: changed_extra is a pose
            // come back to the same place.
            EXPECT_GE(counts.at("unchanged") + counts.at("changed_extra"), program.unchanged)
                << diff.out;
        }
    }
    fs::remove_all(folder);
}

// Each named pose of a listing by its name made comparable ("EDGE START"
// and EDGE_START), with its matrix.
std::map<std::string, std::vector<double>> posesByName(const std::string& listing) {
    std::map<std::string, std::vector<double>> poses;
    for (const nlohmann::json& pose : jsonLines(listing)) {
        if (!pose.is_object() || pose["status"] != "ok" || pose["role"] != "position") {
            continue;
        }
        std::string name = pose["vendor"] == "fanuc" && pose["comment"].is_string()
                               ? pose["comment"].get<std::string>()
                           : pose["name"].is_string() ? pose["name"].get<std::string>()
                                                      : std::string();
        if (name.empty()) {
            continue;
        }
        // "EDGE START", EDGE_START and P[2], P2 alike.
        name.erase(std::remove_if(name.begin(), name.end(),
                                  [](unsigned char c) { return std::isalnum(c) == 0; }),
                   name.end());
        std::vector<double> matrix;
        for (const auto& row : pose["matrix"]) {
            for (const auto& value : row) {
                matrix.push_back(value.get<double>());
            }
        }
        poses[upper(name)] = matrix;
    }
    return poses;
}

TEST(TranslateTest, ListReadsTheWrittenProgramsWithTheSamePoses) {
    const fs::path folder = scratch("translate-list");
    int k = 0;
    for (const Program& program : programs()) {
        const Direction& d = program.directions.front();
        for (const char* to : {"kuka", "abb", "fanuc"}) {
            SCOPED_TRACE(program.source + std::string(" to ") + to);
            const fs::path out = folder / std::to_string(k++);
            const std::string maps = std::string(to) == d.to ? d.there
                                     : std::string(to) == d.backTo
                                         ? ""
                                         : program.directions.back().there;
            const Outcome translated = run(std::string("translate --to ") + to + " " + typed(maps) +
                                               " --config controller " + "--out " +
                                               quoted(out.string()) + " " + program.source,
                                           true);
            ASSERT_LE(translated.status, 1) << translated.out;
            const auto source =
                posesByName(run("list --format json --to matrix " + quoted(program.compared)).out);
            const auto target =
                posesByName(run("list --format json --to matrix " + quoted(out.string())).out);
            // FANUC holds three decimals of millimetres and degrees.
            const bool fanuc =
                std::string(to) == "fanuc" || program.compared.find(".LS") != std::string::npos;
            const double tolerance = fanuc ? 5e-4 : 2e-4;
            const double rotation = fanuc ? 2e-5 : 2e-6;
            std::size_t compared = 0;
            for (const auto& [name, matrix] : target) {
                const auto found = source.find(name);
                if (found == source.end()) {
                    continue; // a point written inline in the source
                }
                ++compared;
                SCOPED_TRACE(name);
                for (std::size_t e = 0; e < matrix.size(); ++e) {
                    EXPECT_NEAR(matrix[e], found->second[e], e % 4 == 3 ? tolerance : rotation);
                }
            }
            EXPECT_GE(static_cast<int>(compared), program.unchanged);
        }
    }
    fs::remove_all(folder);
}

std::size_t lineCount(const std::string& text) {
    std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return lines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

TEST(TranslateTest, TheReportHasOneEntryForEverySourceLineAndEveryGeneratedLine) {
    const fs::path folder = scratch("translate-report");
    int k = 0;
    for (const Program& program : programs()) {
        for (const Direction& d : program.directions) {
            SCOPED_TRACE(program.source + " to " + d.to);
            const fs::path out = folder / std::to_string(k);
            const fs::path report = folder / ("report" + std::to_string(k++) + ".json");
            const Outcome translated =
                run(std::string("translate --to ") + d.to + " " + typed(d.there) +
                        " --config controller --report " + quoted(report.string()) + " --out " +
                        quoted(out.string()) + " " + program.source,
                    true);
            ASSERT_LE(translated.status, 1) << translated.out;
            const nlohmann::json json = nlohmann::json::parse(bytesOf(report), nullptr, false);
            ASSERT_TRUE(json.is_object());
            EXPECT_EQ(json["summary"]["exit"], translated.status);
            // Every line of every source file once, in order.
            std::map<std::string, std::vector<int>> seen;
            std::map<std::string, std::size_t> targetLines;
            for (const nlohmann::json& entry : json["lines"]) {
                seen[entry["file"]].push_back(entry["line"]);
                const std::string disposition = entry["disposition"];
                EXPECT_TRUE(disposition == "translated" || disposition == "approximated" ||
                            disposition == "kept" || disposition == "structural" ||
                            disposition == "blank")
                    << disposition;
                if (disposition == "kept") {
                    EXPECT_EQ(entry["warnings"].size(), 1u);
                }
                if (entry["target"].is_object()) {
                    const std::string file = entry["target"]["file"];
                    if (targetLines.count(file) == 0) {
                        targetLines[file] = lineCount(bytesOf(fs::path(file)));
                    }
                    EXPECT_GE(entry["target"]["line"], 1);
                    EXPECT_LE(entry["target"]["line"], targetLines[file]) << file;
                } else {
                    EXPECT_TRUE(disposition == "structural" || disposition == "blank")
                        << entry.dump();
                }
            }
            for (const auto& file : json["summary"]["programs"][0]["source"]["files"]) {
                const std::vector<int>& lines = seen[file];
                const std::size_t count = lineCount(bytesOf(fs::path(file.get<std::string>())));
                ASSERT_EQ(lines.size(), count) << file;
                for (std::size_t line = 0; line < lines.size(); ++line) {
                    EXPECT_EQ(lines[line], static_cast<int>(line + 1));
                }
            }
            // Every line of every target file is a source line's or generated.
            std::map<std::string, std::vector<int>> landed;
            for (const nlohmann::json& entry : json["lines"]) {
                if (entry["target"].is_object()) {
                    landed[entry["target"]["file"]].push_back(entry["target"]["line"]);
                }
            }
            for (const nlohmann::json& entry : json["generated"]) {
                landed[entry["target"]["file"]].push_back(entry["target"]["line"]);
            }
            for (const auto& file : json["summary"]["programs"][0]["target"]["files"]) {
                std::vector<int> lines = landed[file];
                std::sort(lines.begin(), lines.end());
                lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
                const std::size_t count = lineCount(bytesOf(fs::path(file.get<std::string>())));
                // A kept statement and a FANUC comment run over several
                // lines; its landing names the first. The header is
                // generated, the last line the end of a routine or of the
                // file's frame.
                ASSERT_FALSE(lines.empty()) << file;
                EXPECT_LE(lines.size(), count) << file;
                EXPECT_EQ(lines.front(), 1) << file;
                EXPECT_EQ(lines.back(), static_cast<int>(count)) << file;
            }
        }
    }
    fs::remove_all(folder);
}

TEST(TranslateTest, ARefusalWritesNoProgramAndSaysWhy) {
    const fs::path folder = scratch("translate-refusal");
    const fs::path report = folder / "report.json";
    // Tool 1 is mapped, base 3 is not.
    const Outcome refused =
        run("translate --to abb --tool 1=tGripper --config controller --joint-speed 1000 "
            "--report " +
                quoted(report.string()) + " --out " + quoted((folder / "out").string()) + " " +
                quoted(fixtures("translate/kuka/pick.src")),
            true);
    EXPECT_EQ(refused.status, 2) << refused.out;
    EXPECT_NE(refused.out.find("pick.src:28:1: error: KUKA base 3 is not in --frame"),
              std::string::npos)
        << refused.out;
    EXPECT_NE(refused.out.find("no program file was written"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder / "out"));
    const nlohmann::json json = nlohmann::json::parse(bytesOf(report), nullptr, false);
    EXPECT_EQ(json["summary"]["result"], "refused");
    EXPECT_EQ(json["summary"]["refusals"][0]["rule"], "frame-missing");
    EXPECT_EQ(json["lines"].size(), 0u);

    // Joint moves without --config, joint speeds through ABB without
    // --joint-speed, and an option the words of which are no vendor's.
    const struct {
        const char* options;
        const char* said;
    } cases[] = {
        {"--frame 3=wobjTray --tool 1=tGripper --joint-speed 1000", "give --config controller"},
        {"--frame 3=wobjTray --tool 1=tGripper --config controller", "--joint-speed MM_S"},
        {"--frame 3=wobj?Tray --tool 1=tGripper --config controller", "--frame 3=wobj?Tray"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const Outcome outcome = run(std::string("translate --to abb ") + c.options + " --out " +
                                        quoted((folder / "out").string()) + " " +
                                        quoted(fixtures("translate/kuka/pick.src")),
                                    true);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.out.find(c.said), std::string::npos) << outcome.out;
        EXPECT_TRUE(fs::is_empty(folder / "out"));
    }
    fs::remove_all(folder);
}

TEST(TranslateTest, ExitStatusSaysWhetherEveryLineTranslatedExactly) {
    const fs::path folder = scratch("translate-status");
    std::ofstream(folder / "clean.src", std::ios::binary)
        << "DEF clean( )\r\n$BASE = BASE_DATA[1]\r\n$TOOL = TOOL_DATA[1]\r\n$VEL.CP = 0.5\r\n"
           "LIN {X 500,Y 0,Z 400,A 0,B 90,C 0}\r\n; done\r\nEND\r\n";
    const Outcome clean =
        run("translate --to fanuc --frame 1=1 --tool 1=1 --out " +
                quoted((folder / "clean").string()) + " " + quoted((folder / "clean.src").string()),
            true);
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_TRUE(fs::exists(folder / "clean" / "CLEAN.LS"));
    // DEBURR keeps a joint position, an offset and a jump: status 1.
    const Outcome kept =
        run("translate --to kuka --frame 2=2 --tool 4=4 --config controller --out " +
                quoted((folder / "kept").string()) + " " +
                quoted(fixtures("translate/fanuc/DEBURR.LS")),
            true);
    EXPECT_EQ(kept.status, 1) << kept.out;
    EXPECT_NE(kept.out.find("warning: kept: joint-target-kept"), std::string::npos) << kept.out;
    EXPECT_NE(kept.out.find("-> "), std::string::npos) << kept.out;
    fs::remove_all(folder);
}

TEST(TranslateTest, HelpAndCompletionKnowTheCommand) {
    const Outcome help = run("translate --help");
    EXPECT_EQ(help.status, 0);
    for (const char* said : {"--frame", "--blend", "--joint-speed", "--config", "--report",
                             "Exit status:", "C_DIS with $APO.CDIS = 1"}) {
        EXPECT_NE(help.out.find(said), std::string::npos) << said;
    }
    const Outcome completion = run("completion bash");
    EXPECT_NE(completion.out.find("translate"), std::string::npos);
    EXPECT_NE(completion.out.find("controller"), std::string::npos);
}

#ifndef _WIN32
TEST(TranslateTest, AKilledRunLeavesNoHalfWrittenProgram) {
    const fs::path folder = scratch("translate-kill");
    std::string text = "DEF cut( )\n$BASE = BASE_DATA[1]\n$TOOL = TOOL_DATA[1]\n$VEL.CP = 0.2\n";
    for (int line = 0; line < 200000; ++line) {
        text += "LIN {X " + std::to_string(1000 + line % 700) + ".25,Y " +
                std::to_string(line % 311) + ",Z 400,A 0,B 90,C 0}\n";
    }
    std::ofstream(folder / "cut.src", std::ios::binary) << text << "END\n";
    const std::string arguments[] = {"translate",
                                     "--to",
                                     "abb",
                                     "--frame",
                                     "1=wobj1",
                                     "--tool",
                                     "1=tool1",
                                     "--out",
                                     (folder / "out").string(),
                                     (folder / "cut.src").string()};
    const auto started = std::chrono::steady_clock::now();
    std::string command = quoted(POSEBRIDGE_CLI_PATH);
    for (const std::string& argument : arguments) {
        command += " " + quoted(argument);
    }
    ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0);
    const auto whole = std::chrono::steady_clock::now() - started;
    const std::string complete = bytesOf(folder / "out" / "cut.mod");
    ASSERT_GT(complete.size(), text.size());
    for (int attempt = 1; attempt <= 10; ++attempt) {
        SCOPED_TRACE(attempt);
        fs::remove_all(folder / "out");
        const pid_t child = fork();
        if (child == 0) {
            std::freopen("/dev/null", "w", stderr);
            std::vector<const char*> argv{POSEBRIDGE_CLI_PATH};
            for (const std::string& argument : arguments) {
                argv.push_back(argument.c_str());
            }
            argv.push_back(nullptr);
            execv(POSEBRIDGE_CLI_PATH, const_cast<char* const*>(argv.data()));
            _exit(127);
        }
        std::this_thread::sleep_for(whole * attempt / 10);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (fs::exists(folder / "out" / "cut.mod")) {
            EXPECT_EQ(bytesOf(folder / "out" / "cut.mod"), complete) << "half written";
        }
    }
    fs::remove_all(folder);
}
#endif

} // namespace
