// Another program that keeps the clipboard to itself: puts its text on the
// clipboard, opens it again and holds it open until told to let go.
//
// Usage: clipboard_holder <event prefix> <text>
// Events (created by the test beforehand, named <prefix>-<name>):
//   ready     set by the holder once its text is on the clipboard and the
//             clipboard is open;
//   release   set by the test: close the clipboard;
//   released  set by the holder once the clipboard is closed again;
//   quit      set by the test: end (the holder stays until then, so that
//             its text can be read while its owner still exists).
// Exit code 0 when every step worked; the holder never waits longer than a
// minute for the test.

#include <cstring>
#include <string>

#include <windows.h>

namespace {

constexpr DWORD longestWaitMs = 60000;

HANDLE openEvent(const std::wstring& prefix, const wchar_t* name) {
    return OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, (prefix + L"-" + name).c_str());
}

// Another program may hold the clipboard for a moment; on a loaded machine
// Wine's own clipboard bridge to X has been seen holding it past 200 ms.
bool openClipboardRetrying(HWND owner) {
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (OpenClipboard(owner)) {
            return true;
        }
        Sleep(5);
    }
    return false;
}

bool putText(HWND owner, const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block == nullptr) {
        return false;
    }
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!openClipboardRetrying(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!placed) {
        GlobalFree(block);
    }
    CloseClipboard();
    return placed;
}

std::string narrow(const wchar_t* text) {
    std::string result;
    for (; *text != L'\0'; ++text) {
        result += static_cast<char>(*text);
    }
    return result;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::wstring prefix = argv[1];
    HANDLE ready = openEvent(prefix, L"ready");
    HANDLE release = openEvent(prefix, L"release");
    HANDLE released = openEvent(prefix, L"released");
    HANDLE quit = openEvent(prefix, L"quit");
    if (ready == nullptr || release == nullptr || released == nullptr || quit == nullptr) {
        return 3;
    }
    // The clipboard's owner: a window that only receives messages.
    HWND owner = CreateWindowExW(0, L"Static", L"clipboard holder", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    if (owner == nullptr || !putText(owner, narrow(argv[2])) || !openClipboardRetrying(owner)) {
        return 4;
    }
    SetEvent(ready);
    const bool told = WaitForSingleObject(release, longestWaitMs) == WAIT_OBJECT_0;
    CloseClipboard();
    SetEvent(released);
    WaitForSingleObject(quit, longestWaitMs);
    DestroyWindow(owner);
    return told ? 0 : 5;
}
