#pragma once

// Starting a window program and recognising the moment its window shows its
// start values: a visible top-level window of the process whose field 701
// reads "0.00". Shared by the start-up probe and the command latency driver.

#include <windows.h>

struct StartedProgram {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

// A monotonic clock in seconds.
double nowSeconds();

// Starts the program (a Windows path) with its own folder as working folder.
bool startProgram(const wchar_t* path, StartedProgram& program);

// Polls about every millisecond until the window shows its start values;
// false (and a note on stderr) when that takes longer than timeoutSeconds or
// the process ends first.
bool waitForStartValues(StartedProgram& program, double timeoutSeconds);

// Closes the window with WM_CLOSE and waits for the process to end; the
// process is terminated when it does not end within timeoutSeconds.
bool closeProgram(StartedProgram& program, double timeoutSeconds);

// The text of a message box (a "#32770" window) the process shows, if any;
// the box is closed with IDOK. False when there is none.
bool dismissMessageBox(const StartedProgram& program, wchar_t* text, int capacity);
