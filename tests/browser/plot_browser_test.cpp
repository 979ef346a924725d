// The pages and pictures that `plot` writes, opened in headless Chromium
// from a file: path with every host name resolving nowhere: they must load
// without a request beyond the file itself and without a console error, hold
// as many poses as `list` finds, show a pose's name when the mouse rests on
// it, and draw something.

#include "tests/browser/devtools_pipe.h"
#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
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

std::size_t listed(const std::string& input) {
    return jsonLines(run("list --format json " + quoted(input)).out).size();
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
    EXPECT_EQ(evaluate(browser, "posebridgePlot.poseCount"), listed(backup));

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
    EXPECT_EQ(evaluate(browser, "posebridgePlot.poseCount"), listed(hostile));
    // The comments became neither elements nor script; they are there as text.
    EXPECT_EQ(evaluate(browser, "document.querySelectorAll('img').length"), 0);
    EXPECT_EQ(evaluate(browser, "document.scripts.length"), 4);
    const nlohmann::json comment = evaluate(
        browser, "JSON.parse(document.getElementById('plot-data').textContent).poses[0].c");
    EXPECT_EQ(comment, "</script><img src=x onerror=alert(1)>");
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
    open(quoted(program.string()), scratch() / "cam.html");
    EXPECT_EQ(evaluate(browser, "posebridgePlot.poseCount"), 100000);
    EXPECT_EQ(evaluate(browser, "posebridgePlot.placedCount"), 100000);
    EXPECT_EQ(evaluate(browser, "posebridgePlot.find('')"), 0);
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
    // Nine positions drawn as triads (tGripper is a frame), in each of three views.
    EXPECT_EQ(evaluate(browser, "[...document.querySelectorAll('.view')].map(v => "
                                "(v.querySelector('.triad-x').getAttribute('d').match(/M/g) "
                                "|| []).length)"),
              nlohmann::json({9, 9, 9}));
    EXPECT_EQ(evaluate(browser, "[...document.querySelectorAll('.frame-label')].map(t => "
                                "t.textContent)"),
              nlohmann::json({"tGripper", "tGripper", "tGripper"}));
}

} // namespace
