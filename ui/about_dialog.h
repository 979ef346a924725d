#pragma once

#include <windows.h>

// The About box: application title, version and build date, heading,
// subheading and a link that opens the project's home page. Built from a
// template in memory and shown modally; returns when it is closed.
void showAboutDialog(HWND owner);

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
