#pragma once

#include <windows.h>

// Registers the window class (named after the application title, with the
// given window procedure), creates the fixed-size main window and shows it.
// The handle is stored in window also when it is null. False when the class
// or the window could not be made; the fatal report has then been shown.
bool createMainWindow(HINSTANCE instance, int showCommand, WNDPROC windowProc, HWND& window);

// Creates the interface fonts (once per process) and the 74 controls of the
// main window. Every control is attempted; false when a font or any control
// could not be made.
bool createControls(HWND parent);

// A font of the interface face, or of "Courier new" when fixedPitch is set.
HFONT createInterfaceFont(int height, int weight, bool fixedPitch);

bool createLabel(HWND parent, const wchar_t* text, HFONT font, int x, int y, int width);
bool createNumberField(HWND parent, HFONT font, int id, DWORD style, int x, int y, int width,
                       int height);
bool createButton(HWND parent, const wchar_t* text, HFONT font, int id, int x, int y);

// The font of a slot button: bold while the slot is held, the regular text
// font while it is empty. Made once and kept, like the other interface fonts.
HFONT slotButtonFont(bool held);
