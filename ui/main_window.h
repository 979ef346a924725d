#pragma once

#include <windows.h>

// What part of the main window could not be made. The window layer only says
// which; its caller decides what the user is told.
enum class WindowFailure { none, registerClass, createWindow, label, field, button };

// Registers the window class (named after interfaceTexts.title, with the
// given window procedure), creates the fixed-size main window and shows it.
// The handle is stored in window also when it is null.
WindowFailure buildMainWindow(HINSTANCE instance, int showCommand, WNDPROC windowProc,
                              HWND& window);

enum class ControlKind { label, numberField, textLineField, button };
enum class FontRole { heading, label, text, number };

// One control of the main window as the user knows it.
struct ControlSpec {
    ControlKind kind;
    int id;
    const wchar_t* text;
    int x;
    int y;
    int width;
    int height;
    FontRole font;
};

constexpr int mainWindowControlCount = 74;

// The controls in creation order, which is also the Tab order among those
// with a tab stop.
extern const ControlSpec mainWindowControls[mainWindowControlCount];

// The window class and styles that every control of a kind is created with.
struct ControlClass {
    const wchar_t* className;
    DWORD exStyle;
    DWORD style;
};

ControlClass controlClass(ControlKind kind);

// What buildControls made: nothing when the fonts could not be made,
// otherwise every control was attempted and those that failed are listed in
// creation order.
struct ControlsBuilt {
    bool fontsMade = false;
    int failedCount = 0;
    WindowFailure failed[mainWindowControlCount] = {};
};

// Creates the interface fonts (once per process) and the 74 controls of the
// main window.
ControlsBuilt buildControls(HWND parent);

// Makes the four interface fonts once per process; false when one is missing.
bool makeInterfaceFonts();

// The interface font of a role, once makeInterfaceFonts has made it.
HFONT interfaceFont(FontRole role);

// A font of the interface face, or of "Courier new" when fixedPitch is set.
HFONT createInterfaceFont(int height, int weight, bool fixedPitch);

// The font of a slot button: bold while the slot is held, the regular text
// font while it is empty. Made once and kept, like the other interface fonts.
HFONT slotButtonFont(bool held);
