#pragma once

#include <windows.h>

// The main window, stored when it receives WM_CREATE: owner of the message
// boxes and target of the fatal report's WM_CLOSE.
extern HWND mainWindow;

// A message box captioned with the application title; icon is
// MB_ICONWARNING for refused input, MB_ICONERROR for clipboard and fatal errors.
void showMessage(HWND owner, const wchar_t* text, UINT icon);
