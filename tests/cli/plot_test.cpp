// `plot` end to end: the page's data read back as the page reads it, for a
// backup, a diff and hostile texts, and every refusal leaving no file. The
// page in a real browser is tested by the browser tests.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

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
        const std::vector<nlohmann::json> poses =
            jsonLines(run("list --format json --to kuka " + quoted(input)).out);
        ASSERT_EQ(data["poses"].size(), poses.size());
        for (std::size_t k = 0; k < poses.size(); ++k) {
            const nlohmann::json& drawn = data["poses"][k];
            SCOPED_TRACE(drawn.dump());
            EXPECT_EQ(data["files"][drawn["f"].get<std::size_t>()]["path"], poses[k]["file"]);
            EXPECT_EQ(drawn["l"], poses[k]["line"]);
            // Inline values have no name: list says null, the page "".
            EXPECT_EQ(drawn["n"], poses[k]["name"].is_null() ? "" : poses[k]["name"]);
            EXPECT_EQ(drawn.value("c", nlohmann::json()),
                      poses[k].value("comment", nlohmann::json()));
            EXPECT_EQ(drawn["s"], poses[k]["status"]);
            if (poses[k]["status"] == "ok") {
                // Hover values in --to's notation, at the pose's own place.
                const nlohmann::json& kuka = poses[k]["kuka"];
                EXPECT_EQ(data["members"][drawn["m"].get<std::size_t>()], "X Y Z A B C");
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
        ++roles[pose["r"].get<std::string>()];
        if (pose["n"] == "XP1") {
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
        if (pose["r"] == "nominal") {
            nominal[pose["n"].get<std::string>()] = pose["p"];
        } else if (pose["r"] == "measured") {
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
