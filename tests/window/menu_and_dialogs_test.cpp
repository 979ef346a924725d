#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "clipboard_helpers.h"
#include "main_window_fixture.h"
#include "shell_recorder.h"

namespace {

using MenuAndDialogs = MainWindowTest;

struct Command {
    int id;
    WORD notification; // 0 from the menu, 1 from an accelerator
};

// The Help page as the user reads it: the Close button and the 35 lines.
void expectHelpPage(const BoxRecord& box, HWND owner) {
    EXPECT_EQ(box.caption, L"Help");
    EXPECT_EQ(box.owner, owner);
    ASSERT_EQ(box.itemTexts.size(), 36u);
    EXPECT_EQ(box.itemTexts[0], L"Close");
    EXPECT_EQ(box.itemTexts[1], L"This application is a matrix calculator designed for robot");
    EXPECT_EQ(box.itemTexts[28], L"   A : B                       (KUKA)");
    EXPECT_EQ(box.itemTexts[35], L"");
}

TEST_F(MenuAndDialogs, HelpFromTheMenuAndFromF1IsTheSamePageWhateverTheNotification) {
    const Command commands[] = {
        {commandHelp, 0}, {commandHelp, 1}, {commandHelpKey, 1}, {commandHelpKey, 0}};
    bool ownerEnabledWhileOpen = true;
    // Where the page's client area stands from the window's, and where its
    // template puts it: 25 dialog units right, 20 up (in the page's own units).
    std::vector<RECT> offsets;
    capture.whileOpen = [&](const BoxRecord& box) {
        ownerEnabledWhileOpen = ownerEnabledWhileOpen && IsWindowEnabled(window);
        POINT page = {0, 0};
        ClientToScreen(box.box, &page);
        POINT client = {0, 0};
        ClientToScreen(window, &client);
        RECT expected = {25, -20, 0, 0};
        MapDialogRect(box.box, &expected);
        offsets.push_back({page.x - client.x, page.y - client.y, expected.left, expected.top});
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(command.id * 10 + command.notification);
        capture.boxes.clear();
        EXPECT_EQ(sendCommand(window, command.id, command.notification), 0);
        ASSERT_EQ(capture.boxes.size(), 1u);
        expectHelpPage(capture.boxes[0], window);
    }
    EXPECT_FALSE(ownerEnabledWhileOpen) << "Help is modal";
    EXPECT_TRUE(IsWindowEnabled(window));
    ASSERT_EQ(offsets.size(), std::size(commands));
    for (const RECT& offset : offsets) {
        EXPECT_EQ(offset.left, offset.right);
        EXPECT_EQ(offset.top, offset.bottom);
        EXPECT_LT(offset.top, 0);
    }
}

TEST_F(MenuAndDialogs, AboutShowsTitleVersionAndLinkWhateverTheNotification) {
    for (WORD notification : {WORD{0}, WORD{1}}) {
        SCOPED_TRACE(notification);
        capture.boxes.clear();
        EXPECT_EQ(sendCommand(window, commandAbout, notification), 0);
        ASSERT_EQ(capture.boxes.size(), 1u);
        const BoxRecord& about = capture.boxes[0];
        EXPECT_EQ(about.caption, L"About");
        EXPECT_EQ(about.owner, window);
        ASSERT_EQ(about.itemTexts.size(), 6u);
        EXPECT_EQ(about.itemTexts[0], L"Close");
        EXPECT_EQ(about.itemTexts[1], L"PoseBridge");
        // "Version 1.2.11.0", a line break and the build date as yyyy-mm-dd.
        const std::wstring version = about.itemTexts[2];
        const std::wstring prefix = L"Version 1.2.11.0\r\nBuilt ";
        ASSERT_EQ(version.size(), prefix.size() + 10);
        EXPECT_EQ(version.substr(0, prefix.size()), prefix);
        const std::wstring date = version.substr(prefix.size());
        for (std::size_t i = 0; i < date.size(); ++i) {
            EXPECT_TRUE(i == 4 || i == 7 ? date[i] == L'-' : iswdigit(date[i]) != 0) << i;
        }
        for (std::size_t item = 3; item < 6; ++item) {
            EXPECT_FALSE(about.itemTexts[item].empty()) << item;
        }
    }
}

TEST_F(MenuAndDialogs, ResetActsWhateverTheNotification) {
    setItemTexts(window, {{701, L"5"}});
    sendCommand(window, buttonImportKuka);
    sendCommand(window, buttonSlotA);
    sendCommand(window, commandReset, 1);
    EXPECT_EQ(itemText(window, 701), L"0.00");
    EXPECT_EQ(itemText(window, buttonSlotA), L"Save A");
}

TEST_F(MenuAndDialogs, ExitClosesTheWindowAndEndsTheLoopWithZero) {
    for (WORD notification : {WORD{0}, WORD{1}}) {
        SCOPED_TRACE(notification);
        HWND own = openMainWindow();
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(sendCommand(own, commandExit, notification), 0);
        WPARAM exitCode = 99;
        EXPECT_TRUE(pumpMessages(2000, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_FALSE(IsWindow(own));
        closeMainWindow(own);
    }
}

// Lets a test that found the wrong dialog end instead of waiting forever.
void closeEveryDialog(DWORD uiThread) {
    for (HWND dialog : threadDialogs(uiThread)) {
        forceClose(dialog, uiThread);
    }
}

// Opens a dialog by its command and presses a key in it from a second
// thread, as the keyboard would; true when the key closed it.
bool keyClosesDialog(HWND window, int command, const wchar_t* caption, UINT key) {
    const DWORD uiThread = GetCurrentThreadId();
    bool closed = false;
    std::thread user([&] {
        HWND dialog = waitForThreadDialog(uiThread, caption, 5000);
        if (dialog == nullptr) {
            closeEveryDialog(uiThread);
            return;
        }
        postKeyToFocus(uiThread, key);
        closed = waitUntilDestroyed(dialog, 3000);
        if (!closed) {
            forceClose(dialog, uiThread);
        }
    });
    sendCommand(window, command);
    user.join();
    return closed;
}

TEST_F(MenuAndDialogs, EscapeAndEnterCloseBothDialogs) {
    const struct {
        int command;
        const wchar_t* caption;
        UINT key;
    } cases[] = {{commandHelp, L"Help", VK_ESCAPE},
                 {commandHelp, L"Help", VK_RETURN},
                 {commandAbout, L"About", VK_ESCAPE},
                 {commandAbout, L"About", VK_RETURN}};
    capture.answer = BoxAnswer::leaveOpen;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command * 1000 + c.key);
        capture.boxes.clear();
        EXPECT_TRUE(keyClosesDialog(window, c.command, c.caption, c.key));
        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_EQ(capture.boxes[0].caption, c.caption);
    }
}

TEST_F(MenuAndDialogs, TheAboutLinkOpensItsTargetAndADoubleClickClosesAbout) {
    ShellRecorder recorder;
    if (!recorder.ready()) {
        GTEST_SKIP() << "the shell call is recorded through Wine's browser setting";
    }
    capture.answer = BoxAnswer::leaveOpen;
    const DWORD uiThread = GetCurrentThreadId();
    bool openAfterClick = false;
    bool closedByDoubleClick = false;
    std::string opened;
    std::thread user([&] {
        HWND about = waitForThreadDialog(uiThread, L"About", 5000);
        if (about == nullptr) {
            closeEveryDialog(uiThread);
            return;
        }
        HWND link = GetDlgItem(about, 508);
        SendMessageW(about, WM_COMMAND, MAKEWPARAM(508, STN_CLICKED),
                     reinterpret_cast<LPARAM>(link));
        opened = recorder.waitForOpened(10000);
        openAfterClick = IsWindow(about) && IsWindowVisible(about);
        SendMessageW(about, WM_COMMAND, MAKEWPARAM(508, STN_DBLCLK),
                     reinterpret_cast<LPARAM>(link));
        closedByDoubleClick = waitUntilDestroyed(about, 3000);
        if (!closedByDoubleClick) {
            forceClose(about, uiThread);
        }
    });
    sendCommand(window, commandAbout);
    user.join();
    EXPECT_EQ(opened, "https://posebridge.example.org/\n");
    EXPECT_TRUE(openAfterClick);
    EXPECT_TRUE(closedByDoubleClick);
}

TEST_F(MenuAndDialogs, NotificationsOtherThanAClickArePassedOn) {
    // Every button would show a box, change the fields or the clipboard if
    // this were a click.
    setItemTexts(window, {{701, L"bad"}, {707, L"bad"}, {714, L"bad"}, {730, L"bad"}});
    setItemText(window, textLine, L"a note");
    const struct {
        int id;
        WORD notification;
    } cases[] = {
        {801, 1},
        {802, 1},
        {803, 1},
        {804, 1},
        {805, 1},
        {806, 1},
        {807, 1},
        {808, 1},
        {809, 1},
        {810, 1},
        {811, 1},
        {812, 1},
        {801, BN_SETFOCUS},
        {805, BN_KILLFOCUS},
        {809, BN_DOUBLECLICKED},
        {701, EN_CHANGE},
        {736, EN_CHANGE},
        {800, 0},
        {813, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id * 1000 + c.notification);
        ASSERT_TRUE(putClipboardText("marker"));
        const std::vector<std::wstring> before = visibleTexts(window);
        sendCommand(window, c.id, c.notification);
        EXPECT_EQ(visibleTexts(window), before);
        std::string clipboard;
        SIZE_T blockSize = 0;
        EXPECT_TRUE(readClipboardText(clipboard, blockSize));
        EXPECT_EQ(clipboard, "marker");
    }
    EXPECT_TRUE(capture.boxes.empty());
    EXPECT_EQ(itemFontWeight(window, buttonSlotA), 400);
}

TEST_F(MenuAndDialogs, AClickOnARealButtonReachesItsCommand) {
    SendDlgItemMessageW(window, buttonSlotB, BM_CLICK, 0, 0);
    pumpMessages(0);
    EXPECT_EQ(itemText(window, buttonSlotB), L"Clear B");
}

} // namespace
