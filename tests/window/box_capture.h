#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

// The icon of a message box, told apart by the system icon it shows.
enum class BoxIcon { none, warning, error, other };

const char* boxIconName(BoxIcon icon);

// What a dialog or message box showed when it opened.
struct BoxRecord {
    HWND box = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text; // a message box's message (item 0xFFFF); empty for other dialogs
    BoxIcon icon = BoxIcon::none;
    std::vector<std::wstring> itemTexts; // every child's text, in child order
};

// How the capture answers a box once it has recorded it.
enum class BoxAnswer {
    pressOk,   // WM_COMMAND IDOK, as the OK button (or the Close button) sends it
    leaveOpen, // the test itself closes it, from another thread
};

// Records every dialog and message box that the calling thread opens and
// answers it as a user would, from a WH_CBT hook that sees each box become
// active. A box that does not close within about 2 s of its answer is closed
// by force, so that a failing test still ends, and counted. One capture at a
// time; it lives on the test's stack.
class BoxCapture {
  public:
    BoxCapture();
    ~BoxCapture();
    BoxCapture(const BoxCapture&) = delete;
    BoxCapture& operator=(const BoxCapture&) = delete;

    std::vector<BoxRecord> boxes;
    BoxAnswer answer = BoxAnswer::pressOk;
    // Runs when a box has been recorded, before it is answered: a test can
    // look at the main window while the box is still open.
    std::function<void(const BoxRecord&)> whileOpen;

    // Boxes that ignored their answer and had to be closed by force.
    int forcedCloses() const { return forcedCloses_; }

    // Watches a box from a thread of its own and closes it by force, counted,
    // if it outlives the time (used for the answers and for tests that close
    // boxes themselves).
    void watch(HWND box, DWORD timeoutMs);

  private:
    HHOOK hook_ = nullptr;
    struct Watcher {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::atomic<int> forcedCloses_{0};
    std::vector<Watcher> watchers_;
};

// Reads a box of any thread or process: caption, message, icon and item texts.
// The icon can only be told from within the box's own process.
BoxRecord readBox(HWND box);

// Whether the window is a dialog or message box (class "#32770").
bool isDialogWindow(HWND window);

// The visible dialogs and message boxes of one thread.
std::vector<HWND> threadDialogs(DWORD threadId);

// Waits (polling) until the thread shows a dialog with this caption; null
// when none appears within the time.
HWND waitForThreadDialog(DWORD threadId, const wchar_t* caption, DWORD timeoutMs);

// Waits until the window no longer exists; false when it outlives the time.
bool waitUntilDestroyed(HWND window, DWORD timeoutMs);

// Closes a dialog of another thread that does not close the usual ways:
// Cancel, the close command, a click on each of its buttons and at last a
// quit message to its thread, which ends every modal loop.
void forceClose(HWND dialog, DWORD threadId);

// Posts a key press (down and up) to whatever control of the thread has the
// keyboard focus, as the keyboard would deliver it.
void postKeyToFocus(DWORD threadId, UINT virtualKey);
