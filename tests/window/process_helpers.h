#pragma once

#include <string>
#include <vector>

#include <windows.h>

// The built program as a path this process can start: a path of the build
// machine ("/work/...") is reached through Wine's drive Z:.
std::wstring runnablePath(const char* builtPath);

// A program started by the test. Whatever the test does, the destructor
// ends it (by its own handle) if it still runs, so no test leaves one behind.
struct StartedProgram {
    PROCESS_INFORMATION info = {};

    StartedProgram() = default;
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    ~StartedProgram();
};

// Starts the program with the given show command in its start-up
// information (STARTF_USESHOWWINDOW), as a shell shortcut does.
bool startProgram(const std::wstring& path, WORD showCommand, StartedProgram& program);

// The top-level windows of a process with the given class name; visible ones
// only when onlyVisible is set.
std::vector<HWND> processWindows(DWORD processId, const wchar_t* className, bool onlyVisible);

// Waits (polling) for a top-level window of the process with that class.
HWND waitForProcessWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs);

// Waits for the program to end; false when it still runs after the time.
bool waitForExit(const StartedProgram& program, DWORD timeoutMs, DWORD& exitCode);
