#pragma once

#include <windows.h>

// The whole program run: unscrambles the texts, resets the calculator,
// creates the main window, loads the accelerator table and runs the message
// loop until the window is closed. Always returns 0, the exit code.
int runApplication(HINSTANCE instance, int showCommand);

// Dispatches messages until the quit message: the accelerators first (so F1
// works wherever the focus is), then the dialog keys (Tab between the fields
// and buttons), then the ordinary way.
void runMessageLoop(HWND window, HACCEL accelerators);
