#pragma once

#include <windows.h>

// The Help page: fixed text describing the calculator, built from a template
// in memory and shown modally; returns when it is closed.
void showHelpDialog(HWND owner);

INT_PTR CALLBACK helpDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
