#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "box_capture.h"
#include "process_helpers.h"

namespace {

// The program itself, started the way a shell starts it; these paths need a
// process of their own: the show command of the start-up information, the
// exit code, and a start whose self-test fails.
const std::wstring programPath = runnablePath(POSEBRIDGE_PROGRAM_PATH);
const std::wstring failingProgramPath = runnablePath(POSEBRIDGE_FAILING_PROGRAM_PATH);

constexpr DWORD startTimeoutMs = 10000;
constexpr DWORD exitTimeoutMs = 5000;

// Ways a user ends the program, each sent to its main window.
struct Ending {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

const Ending endings[] = {
    {"File, Exit", WM_COMMAND, MAKEWPARAM(1001, 0), 0},
    {"close box", WM_CLOSE, 0, 0},
    {"system menu Close", WM_SYSCOMMAND, SC_CLOSE, 0},
    // Alt+F4 as the keyboard delivers it: F4 with the Alt key held.
    {"Alt+F4", WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(1 | 0x3E << 16 | KF_ALTDOWN << 16)},
};

// Starts the program with a show command and checks how the window opens.
struct StartCase {
    const char* name;
    WORD showCommand;
    bool minimised;
};

const StartCase startCases[] = {
    {"maximised: opens in its normal size", SW_MAXIMIZE, false},
    {"shown normally", SW_SHOWNORMAL, false},
    {"minimised", SW_SHOWMINNOACTIVE, true},
    {"minimised, activated", SW_SHOWMINIMIZED, true},
};

TEST(ProgramProcess, ShowCommandsOpenTheWindowAndEveryWayOutEndsWithZero) {
    // Each start is ended another way, so every way is taken at least once.
    for (std::size_t i = 0; i < std::size(startCases); ++i) {
        const StartCase& start = startCases[i];
        const Ending& ending = endings[i % std::size(endings)];
        SCOPED_TRACE(std::string(start.name) + ", ended by " + ending.name);
        StartedProgram program;
        ASSERT_TRUE(startProgram(programPath, start.showCommand, program));
        const HWND window =
            waitForProcessWindow(program.info.dwProcessId, L"PoseBridge", startTimeoutMs);
        ASSERT_NE(window, nullptr);

        EXPECT_FALSE(IsZoomed(window));
        EXPECT_EQ(IsIconic(window) != 0, start.minimised);
        if (!start.minimised) {
            RECT frame = {};
            GetWindowRect(window, &frame);
            EXPECT_EQ(frame.right - frame.left, 802);
            EXPECT_EQ(frame.bottom - frame.top, 318);
        }
        wchar_t caption[64] = {};
        GetWindowTextW(window, caption, 64);
        EXPECT_STREQ(caption, L"PoseBridge");

        PostMessageW(window, ending.message, ending.wParam, ending.lParam);
        DWORD exitCode = STILL_ACTIVE;
        EXPECT_TRUE(waitForExit(program, exitTimeoutMs, exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
}

// Where the failing build writes a line for every message box it shows.
class BoxLog {
  public:
    BoxLog() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"posebridge-boxes-" + std::to_wstring(GetCurrentProcessId()) +
                L".txt";
        DeleteFileW(path_.c_str());
        SetEnvironmentVariableW(L"POSEBRIDGE_BOX_LOG", path_.c_str());
    }
    ~BoxLog() {
        SetEnvironmentVariableW(L"POSEBRIDGE_BOX_LOG", nullptr);
        DeleteFileW(path_.c_str());
    }
    BoxLog(const BoxLog&) = delete;
    BoxLog& operator=(const BoxLog&) = delete;

    std::string lines() const {
        std::string text;
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return text;
        }
        char chunk[512];
        DWORD got = 0;
        while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
            text.append(chunk, got);
        }
        CloseHandle(file);
        return text;
    }

  private:
    std::wstring path_;
};

TEST(ProgramProcess, AFailingSelfTestIsReportedOnceAndTheProgramEndsWithZero) {
    BoxLog log;
    StartedProgram program;
    ASSERT_TRUE(startProgram(failingProgramPath, SW_SHOWNORMAL, program));
    const DWORD processId = program.info.dwProcessId;
    const HWND box = waitForProcessWindow(processId, L"#32770", startTimeoutMs);
    ASSERT_NE(box, nullptr);
    const BoxRecord report = readBox(box);
    EXPECT_EQ(report.text, L"Fatal error: 0x8010");
    EXPECT_EQ(report.caption, L"PoseBridge");
    // The report comes while the window is being made, before it is shown.
    EXPECT_TRUE(processWindows(processId, L"PoseBridge", true).empty());

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitUntilDestroyed(box, 3000));
    // No second report follows.
    const HWND second = waitForProcessWindow(processId, L"#32770", 1500);
    if (second != nullptr) {
        ADD_FAILURE() << "a second box: "
                      << std::string(readBox(second).text.begin(), readBox(second).text.end());
        PostMessageW(second, WM_COMMAND, IDOK, 0);
    }
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_TRUE(waitForExit(program, exitTimeoutMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    // Also none that closed at once, unseen: the quit message that the first
    // report leaves behind would end a second box's loop immediately. The
    // one box had the error icon (MB_ICONERROR, 16).
    EXPECT_EQ(log.lines(), "16 PoseBridge: Fatal error: 0x8010\n");
}

} // namespace
