#include "box_capture.h"

#include <algorithm>

namespace {

constexpr DWORD answerTimeoutMs = 2000;

BoxCapture* activeCapture = nullptr;
std::vector<HWND> recordedBoxes; // boxes of the active capture that are still open

std::wstring windowText(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// A message box shows its icon in a static control of style SS_ICON; its
// identifier differs between Windows (0x14) and Wine, the style does not.
BoxIcon iconOf(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(className(child).c_str(), L"Static") != 0 ||
            (style & SS_TYPEMASK) != SS_ICON) {
            continue;
        }
        const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (icon == nullptr) {
            return BoxIcon::none;
        }
        if (icon == LoadIconW(nullptr, IDI_WARNING)) {
            return BoxIcon::warning;
        }
        if (icon == LoadIconW(nullptr, IDI_ERROR)) {
            return BoxIcon::error;
        }
        return BoxIcon::other;
    }
    return BoxIcon::none;
}

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (activeCapture != nullptr && code == HCBT_ACTIVATE && isDialogWindow(window) &&
        std::find(recordedBoxes.begin(), recordedBoxes.end(), window) == recordedBoxes.end()) {
        recordedBoxes.push_back(window);
        activeCapture->boxes.push_back(readBox(window));
        if (activeCapture->whileOpen) {
            activeCapture->whileOpen(activeCapture->boxes.back());
        }
        if (activeCapture->answer == BoxAnswer::pressOk) {
            // As the OK button sends it; Help and About have no such button
            // and close on any command.
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
            activeCapture->watch(window, answerTimeoutMs);
        }
    }
    if (code == HCBT_DESTROYWND) {
        recordedBoxes.erase(std::remove(recordedBoxes.begin(), recordedBoxes.end(), window),
                            recordedBoxes.end());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK collectDialog(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && isDialogWindow(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

} // namespace

const char* boxIconName(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::none:
        return "none";
    case BoxIcon::warning:
        return "warning";
    case BoxIcon::error:
        return "error";
    case BoxIcon::other:
        return "other";
    }
    return "?";
}

BoxCapture::BoxCapture() {
    activeCapture = this;
    recordedBoxes.clear();
    hook_ = SetWindowsHookExW(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
}

BoxCapture::~BoxCapture() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    activeCapture = nullptr;
    for (Watcher& watcher : watchers_) {
        watcher.thread.join();
    }
}

void BoxCapture::watch(HWND box, DWORD timeoutMs) {
    // Watchers of boxes long closed are done; a long test opens many boxes.
    for (auto it = watchers_.begin(); it != watchers_.end();) {
        if (*it->done) {
            it->thread.join();
            it = watchers_.erase(it);
        } else {
            ++it;
        }
    }
    const DWORD threadId = GetWindowThreadProcessId(box, nullptr);
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, box, threadId, timeoutMs, done] {
        if (!waitUntilDestroyed(box, timeoutMs)) {
            ++forcedCloses_;
            forceClose(box, threadId);
        }
        *done = true;
    });
    watchers_.push_back(Watcher{std::move(thread), done});
}

BoxRecord readBox(HWND box) {
    BoxRecord record;
    record.box = box;
    record.owner = GetWindow(box, GW_OWNER);
    record.caption = windowText(box);
    wchar_t message[4096] = {};
    if (GetDlgItem(box, 0xFFFF) != nullptr) {
        GetDlgItemTextW(box, 0xFFFF, message, 4096);
    }
    record.text = message;
    if (GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
        record.icon = iconOf(box);
    }
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        record.itemTexts.push_back(windowText(child));
    }
    return record;
}

bool isDialogWindow(HWND window) {
    return className(window) == L"#32770";
}

std::vector<HWND> threadDialogs(DWORD threadId) {
    std::vector<HWND> dialogs;
    EnumThreadWindows(threadId, collectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

HWND waitForThreadDialog(DWORD threadId, const wchar_t* caption, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        for (HWND dialog : threadDialogs(threadId)) {
            if (windowText(dialog) == caption) {
                return dialog;
            }
        }
        Sleep(10);
    } while (GetTickCount64() < end);
    return nullptr;
}

bool waitUntilDestroyed(HWND window, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (IsWindow(window)) {
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

void forceClose(HWND dialog, DWORD threadId) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    if (waitUntilDestroyed(dialog, 500)) {
        return;
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(className(child).c_str(), L"Button") == 0) {
            PostMessageW(child, BM_CLICK, 0, 0);
        }
    }
    if (!waitUntilDestroyed(dialog, 500)) {
        PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    }
}

void postKeyToFocus(DWORD threadId, UINT virtualKey) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info)) {
        return;
    }
    HWND target = info.hwndFocus != nullptr ? info.hwndFocus : info.hwndActive;
    if (target == nullptr) {
        return;
    }
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | static_cast<LPARAM>(scanCode) << 16;
    const LPARAM up = down | 0xC0000000;
    PostMessageW(target, WM_KEYDOWN, virtualKey, down);
    PostMessageW(target, WM_KEYUP, virtualKey, up);
}
