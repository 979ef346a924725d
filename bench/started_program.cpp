#include "bench/started_program.h"

#include <cstdio>
#include <cwchar>

namespace {

constexpr int startFieldId = 701;

struct Search {
    DWORD processId;
    const wchar_t* className; // null: any class
    HWND found;
};

BOOL CALLBACK findWindowOfProcess(HWND window, LPARAM parameter) {
    Search& search = *reinterpret_cast<Search*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId) {
        return TRUE;
    }
    if (search.className != nullptr) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (std::wcscmp(name, search.className) != 0) {
            return TRUE;
        }
        search.found = window;
        return FALSE;
    }
    // Only a visible window whose start field exists and reads the start value.
    if (!IsWindowVisible(window) || GetDlgItem(window, startFieldId) == nullptr) {
        return TRUE;
    }
    wchar_t text[32] = {};
    GetDlgItemTextW(window, startFieldId, text, 32);
    if (std::wcscmp(text, L"0.00") != 0) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND findWindow(DWORD processId, const wchar_t* className) {
    Search search{processId, className, nullptr};
    EnumWindows(findWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

double nowSeconds() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool startProgram(const wchar_t* path, StartedProgram& program) {
    // The command line is the quoted path; CreateProcessW may write into it.
    const std::size_t length = std::wcslen(path);
    if (length + 3 > MAX_PATH) {
        return false;
    }
    wchar_t commandLine[MAX_PATH];
    commandLine[0] = L'"';
    std::wmemcpy(commandLine + 1, path, length);
    commandLine[length + 1] = L'"';
    commandLine[length + 2] = L'\0';
    wchar_t folder[MAX_PATH];
    std::wcsncpy(folder, path, MAX_PATH - 1);
    folder[MAX_PATH - 1] = L'\0';
    wchar_t* slash = std::wcsrchr(folder, L'\\');
    if (slash != nullptr) {
        *slash = L'\0';
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    program = StartedProgram{};
    if (!CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        slash != nullptr ? folder : nullptr, &startup, &program.process)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", path, GetLastError());
        return false;
    }
    return true;
}

bool waitForStartValues(StartedProgram& program, double timeoutSeconds) {
    const double deadline = nowSeconds() + timeoutSeconds;
    for (;;) {
        program.window = findWindow(program.process.dwProcessId, nullptr);
        if (program.window != nullptr) {
            return true;
        }
        if (WaitForSingleObject(program.process.hProcess, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "the program ended before its window showed\n");
            return false;
        }
        if (nowSeconds() > deadline) {
            std::fprintf(stderr, "no window with the start values after %.0f s\n", timeoutSeconds);
            return false;
        }
        Sleep(1);
    }
}

bool closeProgram(StartedProgram& program, double timeoutSeconds) {
    if (program.process.hProcess == nullptr) {
        return true;
    }
    if (program.window != nullptr) {
        PostMessageW(program.window, WM_CLOSE, 0, 0);
    }
    const DWORD waitMs = static_cast<DWORD>(timeoutSeconds * 1000.0);
    bool ended = WaitForSingleObject(program.process.hProcess, waitMs) == WAIT_OBJECT_0;
    if (!ended) {
        std::fprintf(stderr, "the program did not end after WM_CLOSE; terminating it\n");
        TerminateProcess(program.process.hProcess, 1);
        WaitForSingleObject(program.process.hProcess, waitMs);
    }
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
    program = StartedProgram{};
    return ended;
}

bool dismissMessageBox(const StartedProgram& program, wchar_t* text, int capacity) {
    HWND box = findWindow(program.process.dwProcessId, L"#32770");
    if (box == nullptr) {
        return false;
    }
    if (capacity > 0) {
        text[0] = L'\0';
        GetDlgItemTextW(box, 0xFFFF, text, capacity);
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return true;
}
