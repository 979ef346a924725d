#pragma once

#include <windows.h>

// The main window's procedure: builds the window's content on WM_CREATE and
// runs the start-up self-test, serves the menu and F1, hands the buttons to
// handleCommand, and ends the program when the window closes.
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
