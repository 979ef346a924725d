// While another program holds the clipboard open, Import from Clipboard and
// every Copy to clipboard must answer "Could not access clipboard" with the
// error icon and change nothing: not the calculator, not a field, not a
// caption; and the other program's text must still be on the clipboard
// afterwards.

#include <string>

#include <gtest/gtest.h>

#include "clipboard_helpers.h"
#include "main_window_fixture.h"
#include "process_helpers.h"
#include "state_snapshot.h"

namespace {

// A text PoseBridge would accept, so that reading it by mistake would show.
constexpr char heldText[] = "{X 11.5, Y -22, Z 33, A 10, B 20, C 30}";

// The holder program and the events it is driven by.
struct ClipboardHolder {
    std::wstring prefix;
    HANDLE ready = nullptr;
    HANDLE release = nullptr;
    HANDLE released = nullptr;
    HANDLE quit = nullptr;
    StartedProgram program;

    ClipboardHolder() = default;
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;
    ~ClipboardHolder() {
        if (quit != nullptr) {
            SetEvent(release);
            SetEvent(quit);
        }
        for (HANDLE event : {ready, release, released, quit}) {
            if (event != nullptr) {
                CloseHandle(event);
            }
        }
    }
};

HANDLE makeEvent(const std::wstring& prefix, const wchar_t* name) {
    return CreateEventW(nullptr, TRUE, FALSE, (prefix + L"-" + name).c_str());
}

// Starts the holder and waits until it has the clipboard open with its text.
bool startHolder(ClipboardHolder& holder, const char* text) {
    holder.prefix = L"posebridge-clipboard-holder-" + std::to_wstring(GetCurrentProcessId());
    holder.ready = makeEvent(holder.prefix, L"ready");
    holder.release = makeEvent(holder.prefix, L"release");
    holder.released = makeEvent(holder.prefix, L"released");
    holder.quit = makeEvent(holder.prefix, L"quit");
    if (holder.ready == nullptr || holder.release == nullptr || holder.released == nullptr ||
        holder.quit == nullptr) {
        return false;
    }
    const std::wstring path = runnablePath(POSEBRIDGE_CLIPBOARD_HOLDER_PATH);
    std::wstring commandLine = L"\"" + path + L"\" " + holder.prefix + L" \"";
    for (const char* c = text; *c != '\0'; ++c) {
        commandLine += static_cast<wchar_t>(*c);
    }
    commandLine += L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &holder.program.info)) {
        return false;
    }
    HANDLE waitFor[] = {holder.ready, holder.program.info.hProcess};
    return WaitForMultipleObjects(2, waitFor, FALSE, 20000) == WAIT_OBJECT_0;
}

class ClipboardContention : public MainWindowTest {};

TEST_F(ClipboardContention, EveryClipboardCommandIsRefusedAndNothingChanges) {
    // A state worth losing: an imported pose, a held slot, texts typed but
    // not imported, and a line of text.
    setItemTexts(
        window,
        {{701, L"100"}, {702, L"-20"}, {703, L"300"}, {704, L"45"}, {705, L"-30"}, {706, L"60"}});
    sendCommand(window, buttonImportKuka);
    sendCommand(window, buttonSlotA);
    setItemTexts(window, {{707, L"typed 12.5"}, {733, L"1,5"}, {textLine, L"a note"}});
    ASSERT_TRUE(capture.boxes.empty());

    ClipboardHolder holder;
    ASSERT_TRUE(startHolder(holder, heldText)) << "the clipboard holder did not start";

    const int commands[] = {buttonImportClipboard, buttonCopyKuka, buttonCopyAbb, buttonCopyFanuc};
    for (int id : commands) {
        SCOPED_TRACE(id);
        const StateSnapshot before = takeSnapshot(window);
        capture.boxes.clear();
        sendCommand(window, id);
        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_TRUE(
            isMessageBox(capture.boxes[0], window, L"Could not access clipboard", BoxIcon::error));
        const StateSnapshot after = takeSnapshot(window);
        EXPECT_TRUE(sameState(before.state, after.state));
        ASSERT_EQ(after.texts.size(), before.texts.size());
        for (std::size_t k = 0; k < before.texts.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(after.texts[k], before.texts[k]);
        }
    }

    SetEvent(holder.release);
    ASSERT_EQ(WaitForSingleObject(holder.released, 20000), WAIT_OBJECT_0);
    std::string text;
    SIZE_T blockSize = 0;
    ASSERT_TRUE(readClipboardText(text, blockSize));
    EXPECT_EQ(text, heldText);

    SetEvent(holder.quit);
    DWORD exitCode = 1;
    ASSERT_TRUE(waitForExit(holder.program, 20000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
