#pragma once

#include <windows.h>

// True for the twelve button identifiers, 801 to 812.
bool isButtonId(int id);

// Carries out a button's command (the WM_COMMAND wParam) on a snapshot of the
// window's texts and writes the snapshot back. Returns 0 when handled, -1
// when wParam is not a click of one of the twelve buttons.
int handleCommand(HWND window, WPARAM wParam);

// File, Reset: start values in the state and every field, both slot buttons
// back to "Save".
void resetCommand(HWND window);
