// `plot` end to end: the page's data read back as the page reads it, for a
// backup, a diff and hostile texts, and every refusal leaving no file. The
// page in a real browser is tested by the browser tests.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>

namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / ("posebridge-plot-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The text of the page's one data element, which must hold no "<" at all:
// then nothing in it can end the element or open another.
nlohmann::json pageData(const std::string& page) {
    const std::string open = "<script type=\"application/json\" id=\"plot-data\">";
    const std::size_t start = page.find(open);
    const std::size_t end = page.find("</script>", start);
    if (start == std::string::npos || end == std::string::npos) {
        ADD_FAILURE() << "no data element";
        return nullptr;
    }
    const std::string text = page.substr(start + open.size(), end - start - open.size());
    EXPECT_EQ(text.find('<'), std::string::npos);
    EXPECT_EQ(page.find(open, end), std::string::npos) << "a second data element";
    return nlohmann::json::parse(text, nullptr, false);
}

// A pose where the page draws it: its own x, y and z (its "p", else the
// first three of its values) through its group's frame, where the group
// has one. Keyed by name, or FILE:LINE (the file's own name) when it has none.
struct Placed {
    std::string group;
    double at[3] = {};
};

std::map<std::string, Placed> placedPoses(const nlohmann::json& data) {
    std::vector<std::size_t> groups;
    const nlohmann::json& runs = data["groupRuns"];
    for (std::size_t r = 0; r + 1 < runs.size(); r += 2) {
        groups.insert(groups.end(), runs[r + 1].get<std::size_t>(), runs[r].get<std::size_t>());
    }
    std::map<std::string, Placed> placed;
    const nlohmann::json& poses = data["poses"];
    EXPECT_EQ(groups.size(), poses.size());
    for (std::size_t k = 0; k < poses.size() && k < groups.size(); ++k) {
        const nlohmann::json& pose = poses[k];
        const nlohmann::json& group = data["groups"][groups[k]];
        const nlohmann::json& own = pose.contains("p") ? pose["p"] : pose["v"];
        double p[3] = {own[0].get<double>(), own[1].get<double>(), own[2].get<double>()};
        if (group.contains("at")) {
            // at + q p q*, q = (w, u): p + 2w (u x p) + 2 u x (u x p).
            const double w = group["turn"][0],
                         u[3] = {group["turn"][1], group["turn"][2], group["turn"][3]};
            const double c[3] = {u[1] * p[2] - u[2] * p[1], u[2] * p[0] - u[0] * p[2],
                                 u[0] * p[1] - u[1] * p[0]};
            const double cc[3] = {u[1] * c[2] - u[2] * c[1], u[2] * c[0] - u[0] * c[2],
                                  u[0] * c[1] - u[1] * c[0]};
            for (int i = 0; i < 3; ++i) {
                p[i] += 2 * w * c[i] + 2 * cc[i] + group["at"][i].get<double>();
            }
        }
        const std::string path = data["files"][pose["f"].get<std::size_t>()]["path"];
        const std::string key = pose.contains("n") ? pose["n"].get<std::string>()
                                                   : path.substr(path.find_last_of("/\\") + 1) +
                                                         ":" + std::to_string(pose["l"].get<int>());
        Placed& entry = placed[key];
        entry.group = group["label"];
        std::copy(std::begin(p), std::end(p), entry.at);
    }
    return placed;
}

// The pose keys of each program's path, in its order, by the program's file name.
std::map<std::string, std::vector<std::string>> pathsOf(const nlohmann::json& data) {
    std::vector<std::string> keys;
    for (const nlohmann::json& pose : data["poses"]) {
        const std::string path = data["files"][pose["f"].get<std::size_t>()]["path"];
        keys.push_back(pose.contains("n") ? pose["n"].get<std::string>()
                                          : path.substr(path.find_last_of("/\\") + 1) + ":" +
                                                std::to_string(pose["l"].get<int>()));
    }
    std::map<std::string, std::vector<std::string>> paths;
    for (const nlohmann::json& path : data["paths"]) {
        const std::string file = data["files"][path["f"].get<std::size_t>()]["path"];
        std::vector<std::string>& visited = paths[file.substr(file.find_last_of("/\\") + 1)];
        const nlohmann::json& runs = path["runs"];
        for (std::size_t r = 0; r + 1 < runs.size(); r += 2) {
            for (std::size_t k = 0; k < runs[r + 1].get<std::size_t>(); ++k) {
                visited.push_back(keys.at(runs[r].get<std::size_t>() + k));
            }
        }
    }
    return paths;
}

TEST(PlotTest, PageHoldsEveryPoseThatListFinds) {
    const fs::path folder = scratch("list");
    for (const std::string& input : {fixtures("backup with blanks"), fixtures("plot/HOSTILE.LS")}) {
        SCOPED_TRACE(input);
        const fs::path page = folder / "page.html";
        const Outcome written =
            run("plot --to kuka --out " + quoted(page.string()) + " " + quoted(input), true);
        ASSERT_EQ(written.status, 0) << written.out;
        // Written under a temporary name and renamed: nothing else is left.
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        const std::string bytes = bytesOf(page);
        EXPECT_NE(bytes.find("Copyright (c) 2010-2017 three.js authors"), std::string::npos);
        EXPECT_EQ(bytes.find("<img src=x"), std::string::npos);

        const nlohmann::json data = pageData(bytes);
        ASSERT_TRUE(data.is_object());
        // Taught positions and frames with a place are drawn; offsets, joint
        // positions and poses without x, y and z are counted, not drawn.
        std::vector<nlohmann::json> poses;
        std::size_t leftOut = 0;
        for (const nlohmann::json& pose :
             jsonLines(run("list --format json --to kuka " + quoted(input)).out)) {
            const bool placed = pose["values"].contains("x") && pose["values"].contains("y") &&
                                pose["values"].contains("z");
            const bool drawn = (pose["role"] == "position" || pose["role"] == "frame") && placed;
            (drawn ? poses.push_back(pose) : void(++leftOut));
        }
        std::size_t counted = 0;
        for (const nlohmann::json& item : data["leftOut"]) {
            counted += item[0].get<std::size_t>();
        }
        EXPECT_EQ(counted, leftOut);
        ASSERT_EQ(data["poses"].size(), poses.size());
        for (std::size_t k = 0; k < poses.size(); ++k) {
            const nlohmann::json& drawn = data["poses"][k];
            SCOPED_TRACE(drawn.dump());
            EXPECT_EQ(data["files"][drawn["f"].get<std::size_t>()]["path"], poses[k]["file"]);
            EXPECT_EQ(drawn["l"], poses[k]["line"]);
            // Inline values have no name: list says null, the page leaves it out.
            EXPECT_EQ(drawn.value("n", ""), poses[k]["name"].is_null() ? "" : poses[k]["name"]);
            EXPECT_EQ(drawn.value("c", nlohmann::json()),
                      poses[k].value("comment", nlohmann::json()));
            EXPECT_EQ(data["types"][drawn["t"].get<std::size_t>()], poses[k]["type"]);
            // The page leaves out what is usual: ok.
            EXPECT_EQ(drawn.value("s", "ok"), poses[k]["status"]);
            if (poses[k]["status"] == "ok") {
                // Hover values in --to's notation, at the pose's own place.
                const nlohmann::json& kuka = poses[k]["kuka"];
                EXPECT_EQ(data["members"][drawn.value("m", std::size_t{0})], "X Y Z A B C");
                const char* const axes[3] = {"x", "y", "z"};
                for (int i = 0; i < 3; ++i) {
                    const double expected = kuka[axes[i]];
                    EXPECT_NEAR(drawn["p"][i].get<double>(), expected, 1e-3);
                    EXPECT_NEAR(drawn["v"][i].get<double>(), expected, 1e-3);
                }
            }
        }
        fs::remove(page);
    }
}

TEST(PlotTest, DiffPageMarksWhatDiffFinds) {
    const Outcome written = run("plot --diff --out - " + quoted(fixtures("diff/old")) + " " +
                                quoted(fixtures("diff/new")));
    ASSERT_EQ(written.status, 0);
    const nlohmann::json data = pageData(written.out);
    ASSERT_TRUE(data.is_object());
    std::map<std::string, int> roles;
    for (const nlohmann::json& pose : data["poses"]) {
        ++roles[pose.value("r", "pose")];
        if (pose.value("n", "") == "XP1") {
            // Moved by 5 mm: drawn at both places, that far apart.
            ASSERT_TRUE(pose.contains("o"));
            double squares = 0;
            for (int i = 0; i < 3; ++i) {
                const double d = pose["p"][i].get<double>() - pose["o"][i].get<double>();
                squares += d * d;
            }
            EXPECT_NEAR(std::sqrt(squares), 5.0, 1e-3);
            EXPECT_EQ(pose["r"], "moved");
        }
    }
    // As diff counts them: changed_extra and changed are both "changed" here.
    const std::map<std::string, int> expected = {
        {"moved", 4}, {"added", 2}, {"removed", 1}, {"changed", 3}, {"unchanged", 5}};
    EXPECT_EQ(roles, expected);
    EXPECT_EQ(data["largestMove"], 12.0);
}

TEST(PlotTest, FitPageHoldsTheFittedFrameAndEveryResidual) {
    const std::string sides = " --select \"REF*\" " +
                              quoted(fixtures("calibration/old/fixture.dat")) + " " +
                              quoted(fixtures("calibration/new/fixture.dat"));
    const Outcome written = run("plot --fit --out -" + sides);
    ASSERT_EQ(written.status, 0);
    const nlohmann::json data = pageData(written.out);
    const nlohmann::json fit =
        nlohmann::json::parse(run("fit --format json" + sides).out, nullptr, false);
    ASSERT_TRUE(data.is_object());
    ASSERT_TRUE(fit.is_object());
    EXPECT_EQ(data["worst"], fit["worst"]);
    std::map<std::string, nlohmann::json> nominal;
    std::size_t measured = 0;
    for (const nlohmann::json& pose : data["poses"]) {
        SCOPED_TRACE(pose.dump());
        if (pose.value("r", "pose") == "nominal") {
            nominal[pose["n"].get<std::string>()] = pose["p"];
        } else if (pose.value("r", "pose") == "measured") {
            // The residual runs from the nominal point, moved by the fitted frame, to the measured
            // one.
            const nlohmann::json& from = nominal.at(pose["n"].get<std::string>());
            EXPECT_EQ(pose["o"], from);
            double squares = 0;
            for (int i = 0; i < 3; ++i) {
                const double d = pose["p"][i].get<double>() - from[i].get<double>();
                squares += d * d;
            }
            const double residual = fit["pairs"][measured++]["residual_mm"].get<double>();
            EXPECT_NEAR(pose["d"].get<double>(), residual, 1e-6);
            EXPECT_NEAR(std::sqrt(squares), residual, 2e-4); // positions are floats
        } else {
            EXPECT_EQ(pose["fr"], 1);
            for (int i = 0; i < 3; ++i) {
                EXPECT_NEAR(pose["p"][i].get<double>(), fit["frame"][i][3].get<double>(), 1e-4);
            }
        }
    }
    EXPECT_EQ(nominal.size(), 4u);
    EXPECT_EQ(measured, 4u);
    EXPECT_GT(data["magnification"].get<double>(), 1.0);
}

// A backup of each vendor: a KRL robot with $config.dat, an inline form's
// fold, $BASE and BAS(#BASE,n); a RAPID module with work objects; an LS whose
// positions carry their UF.
TEST(PlotTest, PosesAreDrawnInTheFrameTheyAreTaughtIn) {
    const Outcome written = run("plot --out - " + quoted(fixtures("plot/frames")));
    ASSERT_EQ(written.status, 0);
    const nlohmann::json data = pageData(written.out);
    ASSERT_TRUE(data.is_object());
    const std::map<std::string, Placed> placed = placedPoses(data);
    const struct {
        const char* key;
        const char* group;
        double x, y, z;
    } cases[] = {
        // BASE_DATA[1] of $config.dat: turned 90 degrees about Z, at (1000, 500, 200).
        {"XP3", "BASE_DATA[1]", 950, 500, 210},  // the inline form's Base[1]
        {"XP1", "BASE_DATA[1]", 1000, 600, 200}, // $BASE = BASE_DATA[1]
        {"cell.src:9", "BASE_DATA[1]", 970, 520, 240},
        {"XP2", "BASE_DATA[2]", 7, 8, 9}, // BAS(#BASE,2): not in the files read
        {"XP4", "$WORLD", 300, 0, 900},   // $BASE = $NULLFRAME
        {"XP9", "visited by no motion", 1, 2, 3},
        {"BASE_DATA[1]", "bases and work objects", 1000, 500, 200},
        {"TOOL_DATA[1]", "tools and other frames", 0, 0, 200},
        // wTable: turned 90 degrees about Z, at (500, 0, 100).
        {"p20", "wTable", 400, 0, 100},
        {"p10", "wTable", 500, 100, 100},
        {"p30", "wobj0", 600, 0, 800}, // no \WObj
        {"p40", "wMissing", 1, 2, 3},
        {"p50", "wHeld", 4, 5, 6}, // the robot holds it
        {"wTable", "bases and work objects", 500, 0, 100},
        {"wHeld", "bases and work objects", 0, 0, 0},
        {"P[1]", "UF 3", 10, 20, 30},
        {"P[2]", "UF 3", 40, 50, 60},
        {"P[3]", "UF 0", 700, -200, 500},
    };
    EXPECT_EQ(placed.size(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const auto found = placed.find(c.key);
        ASSERT_NE(found, placed.end());
        EXPECT_EQ(found->second.group, c.group);
        EXPECT_NEAR(found->second.at[0], c.x, 1e-3);
        EXPECT_NEAR(found->second.at[1], c.y, 1e-3);
        EXPECT_NEAR(found->second.at[2], c.z, 1e-3);
    }

    // Each group says how it is drawn.
    const struct {
        const char* label;
        bool world;
        const char* note;
    } groups[] = {
        {"$WORLD", true, "the world"},
        {"BASE_DATA[1]", true, "in world coordinates through its value"},
        {"BASE_DATA[2]", false, "its value is not in the files read: drawn in its own coordinates"},
        {"UF 0", true, "the world"},
        {"UF 3", false, "its value is not in the files read: drawn in its own coordinates"},
        {"wHeld", false, "the robot holds"},
        {"wMissing", false, "its value is not in the files read"},
        {"wTable", true, "in world coordinates through its value"},
        {"wobj0", true, "the world"},
        {"visited by no motion", false, "no motion of the files read goes to these"},
        {"bases and work objects", true, "drawn where their values put them"},
        {"tools and other frames", false, "relative to the flange"},
    };
    ASSERT_EQ(data["groups"].size(), std::size(groups));
    for (std::size_t k = 0; k < std::size(groups); ++k) {
        const nlohmann::json& group = data["groups"][k];
        SCOPED_TRACE(group.dump());
        EXPECT_EQ(group["label"], groups[k].label);
        EXPECT_EQ(group["world"], groups[k].world);
        EXPECT_NE(group["note"].get<std::string>().find(groups[k].note), std::string::npos);
    }
}

TEST(PlotTest, PathsFollowTheMotionsNotTheDeclarations) {
    const Outcome written = run("plot --out - " + quoted(fixtures("plot/frames")));
    ASSERT_EQ(written.status, 0);
    const nlohmann::json data = pageData(written.out);
    ASSERT_TRUE(data.is_object());
    // The .dat declares XP1, XP2, XP3; cell.src moves to XP3 first. Joint
    // positions and offsets are no points of the path.
    const std::map<std::string, std::vector<std::string>> expected = {
        {"cell.src", {"XP3", "XP1", "cell.src:9", "XP2", "XP4"}},
        {"Cell.mod", {"p20", "p10", "p30", "p40", "p50"}},
        {"LINE.LS", {"P[2]", "P[1]", "P[3]"}},
    };
    EXPECT_EQ(pathsOf(data), expected);
}

// Drawn and not drawn, counted apart in the summary (standard error, the
// page, the SVG), by hand from the fixtures: taught positions and frames are
// drawn; joint positions, offsets, assignments, load data and system
// variables are not.
TEST(PlotTest, WhatIsNotDrawnIsCountedAndSaid) {
    const fs::path folder = scratch("left-out");
    const struct {
        const char* input;
        const char* summary;
    } cases[] = {
        {"plot/frames",
         "18 poses drawn (8 in world coordinates, 6 in their own frame's coordinates, 4 frames "
         "and tools), 8 not drawn (4 joint positions, 1 offset, 1 assignment in code, 1 pose of "
         "load data, 1 system variable), from 6 files"},
        // XP1-XP4, XP9, the inline pose, BASE_DATA[1], TOOL_DATA[1]; XHOME,
        // axes.src's PTP, LIN_REL, XP5 =, LOAD_DATA[1].CM, $TIRORO.
        {"plot/frames/KRC",
         "8 poses drawn (4 in world coordinates, 2 in their own frame's coordinates, 2 frames and "
         "tools), 6 not drawn (2 joint positions, 1 offset, 1 assignment in code, 1 pose of load "
         "data, 1 system variable), from 4 files"},
        {"plot/frames/RAPID/Cell.mod",
         "7 poses drawn (3 in world coordinates, 2 in their own frame's coordinates, 2 frames and "
         "tools), 1 not drawn (1 joint position), from 1 file"},
        {"plot/frames/fanuc/LINE.LS",
         "3 poses drawn (1 in world coordinates, 2 in their own frame's coordinates, 0 frames and "
         "tools), 1 not drawn (1 joint position), from 1 file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string input = quoted(fixtures(c.input));
        const Outcome page =
            run("plot --out " + quoted((folder / "page.html").string()) + " " + input, true);
        ASSERT_EQ(page.status, 0) << page.out;
        EXPECT_NE(page.out.find(std::string("posebridge-cli plot: ") + c.summary + "; written to "),
                  std::string::npos)
            << page.out;
        const nlohmann::json data = pageData(bytesOf(folder / "page.html"));
        ASSERT_TRUE(data.is_object());
        EXPECT_EQ(data["summary"], c.summary);

        const Outcome svg =
            run("plot --out " + quoted((folder / "page.svg").string()) + " " + input, true);
        ASSERT_EQ(svg.status, 0) << svg.out;
        // The SVG writes the apostrophe as an entity.
        const std::string inSvg =
            std::regex_replace(std::string(c.summary), std::regex("'"), "&apos;");
        EXPECT_NE(bytesOf(folder / "page.svg").find(">" + inSvg + "</text>"), std::string::npos);
    }

    const std::string frames = quoted(fixtures("plot/frames"));
    run("plot --out " + quoted((folder / "page.html").string()) + " " + frames, true);
    const nlohmann::json data = pageData(bytesOf(folder / "page.html"));
    ASSERT_TRUE(data.is_object());
    EXPECT_EQ(data["leftOut"], nlohmann::json::parse(R"([[4, "joint positions"], [1, "offset"],
        [1, "assignment in code"], [1, "pose of load data"], [1, "system variable"]])"));
    run("plot --out " + quoted((folder / "page.svg").string()) + " " + frames, true);
    const std::string picture = bytesOf(folder / "page.svg");
    EXPECT_NE(picture.find(">not drawn: 4 joint positions, 1 offset, 1 assignment in code, 1 "
                           "pose of load data, 1 system variable</text>"),
              std::string::npos);
    EXPECT_NE(picture.find(">UF 3: 2 poses, its value is not in the files read: drawn in its own "
                           "coordinates</text>"),
              std::string::npos);

    // A diff says the same of what it draws: every pose of both sides has a
    // place there.
    const Outcome diff = run("plot --diff --out " + quoted((folder / "diff.svg").string()) + " " +
                                 quoted(fixtures("diff/old")) + " " + quoted(fixtures("diff/new")),
                             true);
    ASSERT_EQ(diff.status, 0) << diff.out;
    EXPECT_TRUE(std::regex_search(diff.out, std::regex("; [0-9]+ poses drawn, 0 not drawn, "
                                                       "written to ")))
        << diff.out;

    // Nothing but joint positions: nothing to draw, nothing written.
    const Outcome refused = run("plot --out " + quoted((folder / "axes.html").string()) + " " +
                                    quoted(fixtures("plot/frames/KRC/R1/Program/axes.src")),
                                true);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.out.find("no pose to draw in"), std::string::npos) << refused.out;
    EXPECT_NE(refused.out.find("0 poses drawn"), std::string::npos) << refused.out;
    EXPECT_NE(refused.out.find("1 not drawn (1 joint position)"), std::string::npos) << refused.out;
    EXPECT_FALSE(fs::exists(folder / "axes.html"));
}

// The side list shows the files with drawn poses first, each part in the
// order the files were read; each file with its count of drawn poses.
TEST(PlotTest, FilesWithDrawnPosesComeFirst) {
    const Outcome written = run("plot --out - " + quoted(fixtures("plot/frames")));
    ASSERT_EQ(written.status, 0);
    const nlohmann::json data = pageData(written.out);
    ASSERT_TRUE(data.is_object());
    const std::map<std::string, std::uint64_t> drawn = {
        {"axes.src", 0},    {"cell.dat", 5}, {"cell.src", 1},
        {"$config.dat", 2}, {"Cell.mod", 7}, {"LINE.LS", 3},
    };
    const nlohmann::json& files = data["files"];
    ASSERT_EQ(files.size(), drawn.size());
    std::vector<std::size_t> withPoses, without;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::string path = files[k]["path"];
        const std::string name = path.substr(path.find_last_of("/\\") + 1);
        SCOPED_TRACE(name);
        ASSERT_EQ(drawn.count(name), 1u);
        EXPECT_EQ(files[k]["drawn"], drawn.at(name));
        (drawn.at(name) > 0 ? withPoses : without).push_back(k);
    }
    // axes.src holds a joint position only; it is read before cell.dat.
    ASSERT_EQ(without.size(), 1u);
    EXPECT_LT(without[0], withPoses[0]);
    std::vector<std::size_t> expected = withPoses;
    expected.insert(expected.end(), without.begin(), without.end());
    EXPECT_EQ(data["fileOrder"], nlohmann::json(expected));
}

// The entities a writer of XML may use, or none: then a '&' stands bare.
bool entityAt(const std::string& text, std::size_t at) {
    static const char* const named[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
    for (const char* entity : named) {
        if (text.compare(at, std::strlen(entity), entity) == 0) {
            return true;
        }
    }
    std::size_t k = at + 1;
    if (k < text.size() && text[k] == '#') {
        const bool hex = k + 1 < text.size() && text[k + 1] == 'x';
        k += hex ? 2 : 1;
        const std::size_t digits = k;
        while (k < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[k]))
                                       : std::isdigit(static_cast<unsigned char>(text[k])))) {
            ++k;
        }
        return k > digits && k < text.size() && text[k] == ';';
    }
    return false;
}

bool badText(const std::string& text) {
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '<' || (text[k] == '&' && !entityAt(text, k))) {
            return true;
        }
    }
    return false;
}

// A well-formedness check of XML as small as an SVG needs: every element
// closed in order, every attribute quoted, no '<' nor bare '&' in text or
// attributes. Returns what is wrong, or empty.
std::string xmlTrouble(const std::string& xml) {
    std::vector<std::string> open;
    std::size_t at = 0;
    if (xml.rfind("<?xml ", 0) == 0) {
        at = xml.find("?>") + 2;
    }
    while (at < xml.size()) {
        const std::size_t tag = xml.find('<', at);
        if (badText(xml.substr(at, tag == std::string::npos ? std::string::npos : tag - at))) {
            return "text before byte " + std::to_string(tag);
        }
        if (tag == std::string::npos) {
            break;
        }
        const std::size_t close = xml.find('>', tag);
        if (close == std::string::npos) {
            return "an unclosed tag at byte " + std::to_string(tag);
        }
        std::string inside = xml.substr(tag + 1, close - tag - 1);
        if (!inside.empty() && inside[0] == '/') {
            if (open.empty() || open.back() != inside.substr(1)) {
                return "</" + inside.substr(1) + "> closes nothing open";
            }
            open.pop_back();
            at = close + 1;
            continue;
        }
        const bool empty = !inside.empty() && inside.back() == '/';
        if (empty) {
            inside.pop_back();
        }
        std::size_t k = std::min(inside.find_first_of(" \t\n"), inside.size());
        const std::string name = inside.substr(0, k);
        if (name.empty()) {
            return "a tag without a name at byte " + std::to_string(tag);
        }
        // Attributes: blanks, a name, '=', a quoted value.
        while (k < inside.size()) {
            const std::size_t start = inside.find_first_not_of(" \t\n", k);
            if (start == std::string::npos) {
                break;
            }
            const std::size_t equals = inside.find('=', start);
            if (start == k || equals == std::string::npos || equals + 1 >= inside.size() ||
                inside[equals + 1] != '"' || inside.find_first_of(" \t\n\"", start) < equals) {
                return "an attribute of <" + name + "> at byte " + std::to_string(tag);
            }
            const std::size_t end = inside.find('"', equals + 2);
            if (end == std::string::npos || badText(inside.substr(equals + 2, end - equals - 2))) {
                return "an attribute's value of <" + name + "> at byte " + std::to_string(tag);
            }
            k = end + 1;
        }
        if (!empty) {
            open.push_back(name);
        }
        at = close + 1;
    }
    return open.empty() ? std::string() : "<" + open.back() + "> never closed";
}

// Characters as a reader sees them: an entity is one, a UTF-8 sequence one.
std::size_t glyphsOf(const std::string& text) {
    std::size_t glyphs = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '&' && entityAt(text, k)) {
            k = text.find(';', k);
        }
        glyphs += (static_cast<unsigned char>(text[k]) & 0xC0) != 0x80;
    }
    return glyphs;
}

// A label's box, from its x, baseline y, font size and text: glyphs at a
// little less than the widest estimate of the writer, so that only a real
// overlap fails.
struct LabelBox {
    double left, top, right, bottom;
    std::string text;
};

// The labels of each view: the names of poses and frames and the up axis's
// name, which stands inside the view.
std::vector<std::vector<LabelBox>> viewLabels(const std::string& svg) {
    std::vector<std::vector<LabelBox>> views;
    const std::regex label(
        R"re(<text class="(pose-label|frame-label|world-label|worst-label|axis-name)" ([^>]*)>([^<]*)</text>)re");
    const std::regex number(R"re((x|y|font-size)="(-?[0-9.]+)")re");
    for (std::size_t at = svg.find("<g class=\"view\">"); at != std::string::npos;
         at = svg.find("<g class=\"view\">", at + 1)) {
        const std::string view = svg.substr(at, svg.find("</g>", at) - at);
        views.emplace_back();
        for (auto it = std::sregex_iterator(view.begin(), view.end(), label);
             it != std::sregex_iterator(); ++it) {
            const std::string attributes = (*it)[2];
            if (attributes.find("text-anchor") != std::string::npos) {
                continue; // the right axis's name, under the view
            }
            std::map<std::string, double> values = {{"font-size", 13.0}};
            for (auto n = std::sregex_iterator(attributes.begin(), attributes.end(), number);
                 n != std::sregex_iterator(); ++n) {
                values[(*n)[1]] = std::stod((*n)[2]);
            }
            const std::string text = (*it)[3];
            const double size = values["font-size"];
            const double width = 0.55 * size * static_cast<double>(glyphsOf(text));
            views.back().push_back(LabelBox{values["x"], values["y"] - 0.75 * size,
                                            values["x"] + width, values["y"] + 0.2 * size, text});
        }
    }
    return views;
}

// Crowded points, frames of three vendors, a backup, hostile names and a
// fit: in each view no two labels overlap, and the SVG is well-formed.
TEST(PlotTest, SvgLabelsNeverOverlapAndTheSvgIsWellFormed) {
    const fs::path folder = scratch("labels");
    {
        std::ofstream out(folder / "crowded.dat");
        out << "DEFDAT crowded\n";
        for (int k = 0; k < 40; ++k) {
            out << "DECL E6POS XPOINT" << k << "={X " << k % 7 << ",Y " << k / 7 << ",Z " << k % 3
                << ",A 0,B 0,C 0}\n";
        }
        out << "DECL E6POS XFAR={X 2000,Y 1500,Z 1000,A 0,B 0,C 0}\nENDDAT\n";
    }
    const std::string inputs[] = {
        quoted((folder / "crowded.dat").string()),
        quoted(fixtures("plot/frames")),
        quoted(fixtures("backup with blanks")),
        quoted(fixtures("plot/HOSTILE.LS")),
        "--fit " + quoted(fixtures("calibration/old/fixture.dat")) + " " +
            quoted(fixtures("calibration/new/fixture.dat")),
        "--diff " + quoted(fixtures("diff/old")) + " " + quoted(fixtures("diff/new")),
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input);
        const fs::path picture = folder / "labels.svg";
        const Outcome written = run("plot --out " + quoted(picture.string()) + " " + input, true);
        ASSERT_EQ(written.status, 0) << written.out;
        const std::string svg = bytesOf(picture);
        EXPECT_EQ(xmlTrouble(svg), "");
        const std::vector<std::vector<LabelBox>> views = viewLabels(svg);
        ASSERT_EQ(views.size(), 3u);
        for (const std::vector<LabelBox>& labels : views) {
            EXPECT_GE(labels.size(), 2u); // the up axis's name and the world at least
            for (std::size_t a = 0; a < labels.size(); ++a) {
                for (std::size_t b = a + 1; b < labels.size(); ++b) {
                    const LabelBox& p = labels[a];
                    const LabelBox& q = labels[b];
                    EXPECT_FALSE(p.left < q.right && q.left < p.right && p.top < q.bottom &&
                                 q.top < p.bottom)
                        << p.text << " at " << p.left << "," << p.top << " and " << q.text << " at "
                        << q.left << "," << q.top;
                }
            }
        }
    }
    // The checker itself finds what it must.
    const struct {
        const char* xml;
        bool wellFormed;
    } checks[] = {
        {"<svg><text x=\"1\">a &amp; b</text></svg>", true},
        {"<svg><path d=\"M0 0\"/></svg>", true},
        {"<svg><text>a & b</text></svg>", false},
        {"<svg><text>a</svg></text>", false},
        {"<svg><text x=1>a</text></svg>", false},
        {"<svg><text x=\"<\">a</text></svg>", false},
        {"<svg><g>", false},
    };
    for (const auto& check : checks) {
        SCOPED_TRACE(check.xml);
        EXPECT_EQ(xmlTrouble(check.xml).empty(), check.wellFormed);
    }
}

// Forty points within a few millimetres of each other: their names would
// pile into one block. The SVG shows those that fit, says how many it left
// out, and numbers each view's axes in millimetres.
TEST(PlotTest, SvgLeavesOutLabelsThatWouldOverlapAndSaysHowMany) {
    const fs::path folder = scratch("crowded");
    {
        std::ofstream out(folder / "crowded.dat");
        out << "DEFDAT crowded\n";
        for (int k = 0; k < 40; ++k) {
            out << "DECL E6POS XP" << k << "={X " << k % 7 << ",Y " << k / 7 << ",Z " << k % 3
                << ",A 0,B 0,C 0}\n";
        }
        out << "DECL E6POS XFAR={X 2000,Y 1500,Z 1000,A 0,B 0,C 0}\n";
        out << "ENDDAT\n";
    }
    const fs::path picture = folder / "crowded.svg";
    const Outcome written = run("plot --out " + quoted(picture.string()) + " " +
                                    quoted((folder / "crowded.dat").string()),
                                true);
    ASSERT_EQ(written.status, 0) << written.out;
    const std::string svg = bytesOf(picture);
    const auto countOf = [&](const std::string& needle) {
        std::size_t found = 0;
        for (std::size_t at = svg.find(needle); at != std::string::npos;
             at = svg.find(needle, at + 1)) {
            ++found;
        }
        return found;
    };
    std::smatch match;
    ASSERT_TRUE(std::regex_search(svg, match, std::regex(">([0-9]+) labels? left out where")));
    const std::size_t leftOut = std::stoul(match[1]);
    const std::size_t shown = countOf("class=\"pose-label\"") + countOf("class=\"world-label\"");
    // Each of the three views wishes to name 41 poses and the world.
    EXPECT_EQ(shown + leftOut, 3u * 42u);
    EXPECT_GT(leftOut, 40u);
    EXPECT_GE(countOf(">XFAR</text>"), 3u); // far from the crowd, named in every view

    // Ticks: on each view's two axes, multiples of the grid's spacing.
    ASSERT_TRUE(std::regex_search(svg, match, std::regex("grid ([0-9.]+) mm")));
    const double spacing = std::stod(match[1]);
    const std::regex tick("class=\"tick\"[^>]*>(-?[0-9.]+)</text>");
    std::size_t ticks = 0;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), tick); it != std::sregex_iterator();
         ++it, ++ticks) {
        const double value = std::stod((*it)[1]);
        EXPECT_NEAR(std::remainder(value, spacing), 0.0, 1e-9) << value;
    }
    EXPECT_GE(ticks, 3u * 2u * 3u);         // at least three numbers an axis
    EXPECT_EQ(countOf(">X mm</text>"), 2u); // top and front views; the side's right axis is Y
    EXPECT_EQ(countOf(">Z mm</text>"), 2u);
}

TEST(PlotTest, RefusalsNameTheTroubleAndWriteNothing) {
    const fs::path folder = scratch("refused");
    fs::create_directories(folder / "empty");
    const std::string out = quoted((folder / "plot.html").string());
    const std::string backup = quoted(fixtures("backup with blanks"));
    const struct {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"plot --out " + out + " " + quoted((folder / "empty").string()), "no poses found in"},
        {"plot --out " + out + " " + quoted(fixtures("backup with blanks/notes.txt")), "notes.txt"},
        {"plot --out " + out + " " + quoted(fixtures("no such folder")), "no such folder"},
        {"plot --diff --out " + out + " " + backup, "--diff needs two paths, OLD and NEW; 1 given"},
        {"plot --fit --out " + out + " " + backup + " " + backup + " " + backup,
         "--fit needs two paths"},
        {"plot --fit --select \"XP1,XP2\" --out " + out + " " + backup + " " + backup, "plot:"},
        {"plot --diff --tolerance -1,0 --out " + out + " " + backup + " " + backup, "--tolerance"},
        {"plot --out " + quoted((folder / "missing" / "plot.html").string()) + " " + backup,
         "cannot create a file in its folder"},
        {"plot --axis-length 0 --out " + out + " " + backup, "--axis-length"},
        {"plot --to nonsense --out " + out + " " + backup, "--to"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome refused = run(c.arguments, true);
        EXPECT_EQ(refused.status, 2);
        EXPECT_NE(refused.out.find(c.message), std::string::npos) << refused.out;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
            << "only the empty folder";
    }
}

} // namespace
