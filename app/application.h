#pragma once

#include <windows.h>

// The whole program run: unscrambles the texts, resets the calculator,
// creates the main window, loads the accelerator table and runs the message
// loop until the window is closed. Always returns 0, the exit code.
int runApplication(HINSTANCE instance, int showCommand);

// Makes the main window as the program starts it (class, window, shown with
// showCommand) and reports a failure with its fatal code. The handle is
// stored in window also when it is null. False when the class or the window
// could not be made.
bool createMainWindow(HINSTANCE instance, int showCommand, WNDPROC windowProc, HWND& window);

// Dispatches messages until the quit message: the accelerators first (so F1
// works wherever the focus is), then the dialog keys (Tab between the fields
// and buttons), then the ordinary way.
void runMessageLoop(HWND window, HACCEL accelerators);
