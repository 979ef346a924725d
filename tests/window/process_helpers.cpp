#include "process_helpers.h"

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool onlyVisible;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner == search.processId && lstrcmpW(name, search.className) == 0 &&
        (!search.onlyVisible || IsWindowVisible(window))) {
        search.found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::wstring runnablePath(const char* builtPath) {
    std::wstring path;
    if (builtPath[0] == '/') {
        path = L"Z:";
    }
    for (const char* c = builtPath; *c != '\0'; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    return path;
}

StartedProgram::~StartedProgram() {
    if (info.hProcess != nullptr) {
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, 5000);
        }
        CloseHandle(info.hProcess);
    }
    if (info.hThread != nullptr) {
        CloseHandle(info.hThread);
    }
}

bool startProgram(const std::wstring& path, WORD showCommand, StartedProgram& program) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &program.info)) {
        return false;
    }
    WaitForInputIdle(program.info.hProcess, 5000);
    return true;
}

std::vector<HWND> processWindows(DWORD processId, const wchar_t* className, bool onlyVisible) {
    WindowSearch search{processId, className, onlyVisible, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForProcessWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        const std::vector<HWND> windows = processWindows(processId, className, true);
        if (!windows.empty()) {
            return windows.front();
        }
        Sleep(10);
    } while (GetTickCount64() < end);
    return nullptr;
}

bool waitForExit(const StartedProgram& program, DWORD timeoutMs, DWORD& exitCode) {
    exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(program.info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(program.info.hProcess, &exitCode) != 0;
}
