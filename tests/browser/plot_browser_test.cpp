// The pages and pictures that `plot` writes, opened in headless Chromium
// from a file: path with every host name resolving nowhere: they must load
// without a request beyond the file itself and without a console error, hold
// as many poses as `list` finds, show a pose's name when the mouse rests on
// it, and draw something.

#include "tests/browser/devtools_pipe.h"
#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

fs::path scratch() {
    const fs::path folder = fs::temp_directory_path() / "posebridge-plot-browser";
    fs::create_directories(folder);
    return folder;
}

// The poses plot draws of what list finds: taught positions and frames
// with a place; joint positions, offsets and poses without x, y and z are
// counted, not drawn.
std::size_t drawable(const std::string& input) {
    std::size_t count = 0;
    for (const nlohmann::json& pose : jsonLines(run("list --format json " + quoted(input)).out)) {
        const nlohmann::json& values = pose["values"];
        count += (pose["role"] == "position" || pose["role"] == "frame") && values.contains("x") &&
                 values.contains("y") && values.contains("z");
    }
    return count;
}

// What went wrong in the page: console errors and warnings, uncaught
// exceptions, failed evaluations, and every request for anything but a file:
// or data: URL.
std::vector<std::string> troubles(const Browser& browser) {
    std::vector<std::string> found;
    for (const nlohmann::json& event : browser.events) {
        const std::string method = event.value("method", "");
        const nlohmann::json& params = event.value("params", nlohmann::json::object());
        if (method == "Runtime.exceptionThrown" || method == "evaluate.failed" ||
            (method == "Runtime.consoleAPICalled" &&
             (params.value("type", "") == "error" || params.value("type", "") == "warning")) ||
            (method == "Log.entryAdded" && params["entry"].value("level", "") == "error")) {
            found.push_back(event.dump());
        }
        if (method == "Network.requestWillBeSent") {
            const std::string url = params["request"].value("url", "");
            if (url.rfind("file:", 0) != 0 && url.rfind("data:", 0) != 0) {
                found.push_back("request: " + url);
            }
        }
    }
    return found;
}

class PlotBrowserTest : public testing::Test {
  protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        std::string error;
        ASSERT_TRUE(startBrowser(browser, 1280, 800, error)) << error;
    }
    void TearDown() override { stopBrowser(browser); }

    // Writes the plot of these arguments and opens it.
    void open(const std::string& arguments, const fs::path& page) {
        const Outcome written = run("plot --out " + quoted(page.string()) + " " + arguments, true);
        ASSERT_EQ(written.status, 0) << written.out;
        call(browser, "Page.navigate", {{"url", "file://" + page.string()}});
        ASSERT_TRUE(waitForEvent(browser, "Page.loadEventFired", 60000));
    }

    Browser browser;
};

TEST_F(PlotBrowserTest, BackupPageLoadsOfflineAndNamesTheHoveredPose) {
    const std::string backup = fixtures("backup with blanks");
    open(quoted(backup), scratch() / "backup.html");
    EXPECT_EQ(evaluate(browser, "posebridgePlot.poseCount"), drawable(backup));

    const struct {
        const char* name;
        const char* shown; // a line of the tip
    } poses[] = {{"XP2", "X 1100  Y 250.75  Z 980.5  A -90  B 45  C 179.5"},
                 {"pHome", "robtarget, ok"},
                 {"P[2]", "\"above tray\""}};
    for (const auto& pose : poses) {
        SCOPED_TRACE(pose.name);
        const nlohmann::json at =
            evaluate(browser, std::string("posebridgePlot.screenPositionOf('") + pose.name + "')");
        ASSERT_TRUE(at.is_object()) << at.dump();
        call(browser, "Input.dispatchMouseEvent",
             {{"type", "mouseMoved"}, {"x", at["x"]}, {"y", at["y"]}});
        const nlohmann::json tip = evaluate(
            browser, "new Promise(done => requestAnimationFrame(() => requestAnimationFrame(() => "
                     "done([...document.querySelectorAll('#tip div')].map(d => d.textContent)))))");
        ASSERT_TRUE(tip.is_array()) << tip.dump();
        ASSERT_FALSE(tip.empty());
        EXPECT_EQ(tip[0], pose.name);
        EXPECT_NE(std::find(tip.begin(), tip.end(), pose.shown), tip.end()) << tip.dump();
    }

    // The screenshot, decoded by the page itself: most of it is the white
    // background, and the triads, grid and labels give many other colours.
    const nlohmann::json shot = call(browser, "Page.captureScreenshot", {{"format", "png"}});
    ASSERT_TRUE(shot.contains("data")) << shot.dump().substr(0, 300);
    const nlohmann::json colours = evaluate(
        browser, "(async () => { const image = new Image(); image.src = 'data:image/png;base64," +
                     shot["data"].get<std::string>() +
                     "'; await image.decode(); const canvas = document.createElement('canvas');"
                     "canvas.width = image.width; canvas.height = image.height;"
                     "const g = canvas.getContext('2d'); g.drawImage(image, 0, 0);"
                     "const px = g.getImageData(0, 0, image.width, image.height).data;"
                     "const seen = new Set(); let coloured = 0;"
                     "for (let i = 0; i < px.length; i += 4) { seen.add((px[i] << 16) | "
                     "(px[i + 1] << 8) | px[i + 2]);"
                     "if (px[i] < 200 && Math.abs(px[i] - px[i + 1]) > 60) ++coloured; }"
                     "return {colours: seen.size, coloured}; })()");
    ASSERT_TRUE(colours.is_object()) << colours.dump();
    EXPECT_GT(colours["colours"].get<int>(), 50);
    EXPECT_GT(colours["coloured"].get<int>(), 100); // red and green of the triads
    EXPECT_EQ(troubles(browser), std::vector<std::string>());
}

TEST_F(PlotBrowserTest, NamesAndCommentsFromRobotFilesStayText) {
    const std::string hostile = fixtures("plot/HOSTILE.LS");
    open(quoted(hostile), scratch() / "hostile.html");
    EXPECT_EQ(evaluate(browser, "posebridgePlot.poseCount"), drawable(hostile));
    // The comments became neither elements nor script; they are there as text.
    EXPECT_EQ(evaluate(browser, "document.querySelectorAll('img').length"), 0);
    EXPECT_EQ(evaluate(browser, "document.scripts.length"), 4);
    const nlohmann::json comments = evaluate(
        browser,
        "JSON.parse(document.getElementById('plot-data').textContent).poses.map(p => p.c)");
    EXPECT_EQ(comments, nlohmann::json({"</script><img src=x onerror=alert(1)>",
                                        "<!-- <script>alert(2)</script> ]]>"}));
    EXPECT_EQ(troubles(browser), std::vector<std::string>());
}

// A CAM program of 100,000 motions, written here.
TEST_F(PlotBrowserTest, HundredThousandPosesAreAllInTheScene) {
    const fs::path program = scratch() / "cam.src";
    {
        std::ofstream out(program);
        out << "DEF cam()\n";
        for (int k = 0; k < 100000; ++k) {
            out << "LIN {X " << 800 + (k % 400) << ",Y " << (k / 400) * 2 << ",Z " << 600 + k % 7
                << ",A 0,B 90,C " << k % 360 << "} C_DIS\n";
        }
        out << "END\n";
    }
    const auto started = std::chrono::steady_clock::now();
    open(quoted(program.string()), scratch() / "cam.html");
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();
    EXPECT_EQ(evaluate(browser, "posebridgePlot.poseCount"), 100000);
    EXPECT_EQ(evaluate(browser, "posebridgePlot.placedCount"), 100000);
    EXPECT_EQ(evaluate(browser, "posebridgePlot.find('')"), 0);
    // One path through every motion in the order they run.
    EXPECT_EQ(evaluate(browser, "posebridgePlot.pathSegments()"), 99999);
    // The first frame's stamp, which scripts/bench reads: milliseconds since
    // the navigation started, so no more than this test waited for the page.
    const nlohmann::json firstFrame =
        evaluate(browser, "Number(document.body.getAttribute('data-first-frame-ms'))");
    ASSERT_TRUE(firstFrame.is_number()) << firstFrame.dump();
    EXPECT_GT(firstFrame.get<double>(), 0.0);
    EXPECT_LE(firstFrame.get<double>(), static_cast<double>(waited));
    EXPECT_EQ(troubles(browser), std::vector<std::string>());
}

TEST_F(PlotBrowserTest, SvgIsWellFormedAndDrawsEveryTriadInEachView) {
    const std::string backup = fixtures("backup with blanks");
    const fs::path picture = scratch() / "backup.svg";
    const Outcome written =
        run("plot --format svg --out " + quoted(picture.string()) + " " + quoted(backup), true);
    ASSERT_EQ(written.status, 0) << written.out;
    call(browser, "Page.navigate", {{"url", "file://" + picture.string()}});
    ASSERT_TRUE(waitForEvent(browser, "Page.loadEventFired", 60000));
    // Chromium shows a parser error instead of a picture that is not well-formed XML.
    EXPECT_EQ(evaluate(browser, "document.documentElement.localName"), "svg");
    EXPECT_EQ(evaluate(browser, "document.getElementsByTagName('parsererror').length"), 0);
    // Eight positions drawn as triads (tGripper is a frame; the offset
    // fPlace:{...} of pick.src is not drawn), in each of three views.
    EXPECT_EQ(evaluate(browser, "[...document.querySelectorAll('.view')].map(v => "
                                "(v.querySelector('.triad-x').getAttribute('d').match(/M/g) "
                                "|| []).length)"),
              nlohmann::json({8, 8, 8}));
    EXPECT_EQ(evaluate(browser, "[...document.querySelectorAll('.frame-label')].map(t => "
                                "t.textContent)"),
              nlohmann::json({"tGripper", "tGripper", "tGripper"}));
}

// Each vendor's frames: the page turns the poses itself from their values
// and draws them through their frames; each group and file toggles its poses,
// their labels and the path through them.
TEST_F(PlotBrowserTest, FramesPlaceAndToggleTheirPoses) {
    const std::string frames = fixtures("plot/frames");
    open(quoted(frames), scratch() / "frames.html");
    // Of the 20 positions and frames with a place that list finds,
    // LOAD_DATA[1].CM (load data) and $TIRORO (the controller's state) are
    // not drawn.
    EXPECT_EQ(evaluate(browser, "posebridgePlot.poseCount"), 18);
    const double half = std::sqrt(0.5);
    const struct {
        const char* name;
        const char* group;
        double p[3];
        double q[4];
    } cases[] = {
        // BASE_DATA[1]: turned 90 degrees about Z, at (1000, 500, 200).
        {"XP1", "BASE_DATA[1]", {1000, 600, 200}, {half, 0, 0, half}},
        {"XP4", "$WORLD", {300, 0, 900}, {half, 0, half, 0}}, // B 90: about Y
        {"p10", "wTable", {500, 100, 100}, {half, 0, 0, half}},
        {"p30", "wobj0", {600, 0, 800}, {0, 0, 1, 0}},
        {"P[1]", "UF 3", {10, 20, 30}, {0, 1, 0, 0}}, // W 180: about X
        {"P[3]", "UF 0", {700, -200, 500}, {0, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const nlohmann::json at =
            evaluate(browser, std::string("posebridgePlot.worldPositionOf('") + c.name + "')");
        ASSERT_TRUE(at.is_object()) << at.dump();
        EXPECT_EQ(at["group"], c.group);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(at["p"][i].get<double>(), c.p[i], 1e-3);
        }
        // q and -q are one turn.
        const double sign = at["q"][0].get<double>() * c.q[0] + at["q"][1].get<double>() * c.q[1] +
                                        at["q"][2].get<double>() * c.q[2] +
                                        at["q"][3].get<double>() * c.q[3] <
                                    0
                                ? -1.0
                                : 1.0;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(sign * at["q"][i].get<double>(), c.q[i], 1e-6);
        }
    }

    const std::string state =
        "({shown: posebridgePlot.shownCount(), path: posebridgePlot.pathSegments(), "
        "labels: posebridgePlot.shownLabels(), xp1: posebridgePlot.screenPositionOf('XP1')})";
    const auto click = [&](const std::string& list, const std::string& text) {
        return evaluate(browser, "(() => { const row = [...document.querySelectorAll('#" + list +
                                     " label')].find(r => r.textContent.startsWith('" + text +
                                     "')); if (!row) return false; row.querySelector('input')"
                                     ".click(); return true; })()");
    };
    const nlohmann::json before = evaluate(browser, state);
    ASSERT_TRUE(before.is_object()) << before.dump();
    EXPECT_EQ(before["shown"], 18);
    // XP3 -> XP1 -> the inline pose in BASE_DATA[1], p20 -> p10 -> p30 in
    // the world, P[2] -> P[1] in UF 3; no line joins two frames of which
    // one is drawn in its own coordinates.
    EXPECT_EQ(before["path"], 5);
    EXPECT_TRUE(before["xp1"].is_object());
    const auto labelled = [](const nlohmann::json& labels, const char* name) {
        return std::find(labels.begin(), labels.end(), name) != labels.end();
    };
    EXPECT_TRUE(labelled(before["labels"], "XP1"));

    ASSERT_EQ(click("groups", "BASE_DATA[1]"), true);
    const nlohmann::json hidden = evaluate(browser, state);
    EXPECT_EQ(hidden["shown"], 15);
    EXPECT_EQ(hidden["path"], 3);
    EXPECT_TRUE(hidden["xp1"].is_null());
    EXPECT_FALSE(labelled(hidden["labels"], "XP1"));
    EXPECT_FALSE(labelled(hidden["labels"], "XP3"));
    EXPECT_TRUE(labelled(hidden["labels"], "p10"));

    ASSERT_EQ(click("groups", "BASE_DATA[1]"), true);
    EXPECT_EQ(evaluate(browser, state), before);

    // A file's box hides its poses and the path through them.
    ASSERT_EQ(click("files", frames + "/fanuc/LINE.LS"), true);
    const nlohmann::json noLine = evaluate(browser, state);
    EXPECT_EQ(noLine["shown"], 15);
    EXPECT_EQ(noLine["path"], 4);
    EXPECT_FALSE(labelled(noLine["labels"], "P[1]"));

    // Files with drawn poses first: axes.src, read first, holds only a
    // joint position.
    const nlohmann::json files =
        evaluate(browser, "[...document.querySelectorAll('#files label')].map(r => r.textContent)");
    ASSERT_TRUE(files.is_array()) << files.dump();
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(files.back(), frames + "/KRC/R1/Program/axes.src0");
    EXPECT_EQ(troubles(browser), std::vector<std::string>());
}

// The SVG's labels as Chromium lays them out: no two overlap, and each stays
// in its view.
TEST_F(PlotBrowserTest, SvgLabelsDoNotOverlap) {
    const fs::path folder = scratch();
    {
        std::ofstream out(folder / "crowded.dat");
        out << "DEFDAT crowded\n";
        for (int k = 0; k < 40; ++k) {
            out << "DECL E6POS XPOINT" << k << "={X " << k % 7 << ",Y " << k / 7 << ",Z " << k % 3
                << ",A 0,B 0,C 0}\n";
        }
        out << "DECL E6POS XFAR={X 2000,Y 1500,Z 1000,A 0,B 0,C 0}\n";
        out << "ENDDAT\n";
    }
    for (const std::string& input : {(folder / "crowded.dat").string(), fixtures("plot/frames"),
                                     fixtures("backup with blanks")}) {
        SCOPED_TRACE(input);
        const fs::path picture = folder / "labels.svg";
        const Outcome written =
            run("plot --out " + quoted(picture.string()) + " " + quoted(input), true);
        ASSERT_EQ(written.status, 0) << written.out;
        call(browser, "Page.navigate", {{"url", "file://" + picture.string()}});
        ASSERT_TRUE(waitForEvent(browser, "Page.loadEventFired", 60000));
        const nlohmann::json found = evaluate(
            browser,
            "[...document.querySelectorAll('.view')].map(view => {"
            "  const r = view.querySelector('rect').getBBox();"
            "  const boxes = [...view.querySelectorAll('.pose-label, .frame-label, .world-label, "
            "  .worst-label')].map(t => t.getBBox());"
            "  let overlaps = 0, outside = 0;"
            "  boxes.forEach((a, i) => {"
            "    if (a.x < r.x || a.y < r.y || a.x + a.width > r.x + r.width ||"
            "        a.y + a.height > r.y + r.height) ++outside;"
            "    boxes.slice(i + 1).forEach(b => {"
            "      if (a.x < b.x + b.width - 0.5 && b.x < a.x + a.width - 0.5 &&"
            "          a.y < b.y + b.height - 0.5 && b.y < a.y + a.height - 0.5) ++overlaps; }); "
            "});"
            "  return {labels: boxes.length, overlaps, outside}; })");
        ASSERT_TRUE(found.is_array()) << found.dump();
        ASSERT_EQ(found.size(), 3u);
        for (const nlohmann::json& view : found) {
            EXPECT_GT(view["labels"].get<int>(), 1) << found.dump();
            EXPECT_EQ(view["overlaps"], 0) << found.dump();
            EXPECT_EQ(view["outside"], 0) << found.dump();
        }
    }
}

} // namespace
