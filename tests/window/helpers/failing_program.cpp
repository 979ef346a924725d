// The program's own code, unchanged, linked with two wrappers at link time
// (-Wl,--wrap): its start-up self-test always fails, and every message box
// it shows is also written, one line each, to the file named by the
// environment variable POSEBRIDGE_BOX_LOG, so that a test can count the
// boxes even when one closes before anybody could see it.

#include <string>

#include <windows.h>

extern "C" {

using MessageBoxFunction = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
extern MessageBoxFunction __real___imp_MessageBoxW;

bool __wrap__Z11runSelfTestv() {
    return false;
}

} // extern "C"

namespace {

void appendNarrow(std::string& line, LPCWSTR text) {
    for (; text != nullptr && *text != L'\0'; ++text) {
        line += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
}

// Appends "<icon flags> <caption>: <text>", the flags in decimal.
void logBox(LPCWSTR text, LPCWSTR caption, UINT type) {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"POSEBRIDGE_BOX_LOG", path, MAX_PATH) == 0) {
        return;
    }
    std::string line = std::to_string(type & MB_ICONMASK) + " ";
    appendNarrow(line, caption);
    line += ": ";
    appendNarrow(line, text);
    line += "\n";
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

int WINAPI recordingMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    logBox(text, caption, type);
    return __real___imp_MessageBoxW(owner, text, caption, type);
}

} // namespace

extern "C" {
MessageBoxFunction __wrap___imp_MessageBoxW = recordingMessageBox;
}
