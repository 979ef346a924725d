#pragma once

#include <string>
#include <vector>

#include <windows.h>

// Drives the program's real main window inside the test process: the window
// is created by the program's own code and worked through the messages a
// user's actions produce; results are read back from the controls.

// The controls as the user knows them. Number fields: KUKA 701-706, ABB
// 707-713, matrix 714 + 4 * row + column, FANUC 730-735.
constexpr int kukaX = 701;
constexpr int abbX = 707;
constexpr int matrixFirst = 714;
constexpr int fanucX = 730;
constexpr int textLine = 736;

constexpr int matrixField(int row, int column) {
    return matrixFirst + 4 * row + column;
}

constexpr int buttonImportKuka = 801;
constexpr int buttonImportAbb = 802;
constexpr int buttonImportMatrix = 803;
constexpr int buttonImportClipboard = 804;
constexpr int buttonSlotA = 805;
constexpr int buttonSlotB = 806;
constexpr int buttonInvert = 807;
constexpr int buttonMultiply = 808;
constexpr int buttonCopyKuka = 809;
constexpr int buttonCopyAbb = 810;
constexpr int buttonImportFanuc = 811;
constexpr int buttonCopyFanuc = 812;

constexpr int commandExit = 1001;
constexpr int commandAbout = 1002;
constexpr int commandReset = 1003;
constexpr int commandHelp = 1007;
constexpr int commandHelpKey = 1008;

struct ItemText {
    int id;
    std::wstring text;
};

// What every field shows at start and after Reset; the text line is empty.
const std::vector<ItemText>& startFieldTexts();

// Creates the main window as the program's start does: the texts are
// unscrambled (once per process), the calculator is reset, the window is
// created by the program's own code and shown with showCommand.
HWND openMainWindow(int showCommand = SW_SHOWNORMAL);

// Destroys the window if it still exists and removes the quit message that
// its destruction posts, so the next test starts with an empty queue.
void closeMainWindow(HWND window);

// The program's accelerator table, linked into the test from the resources.
HACCEL loadProgramAccelerators();

// Runs the program's own message loop until every posted message has been
// handled and no dialog or message box is open any more (bounded: after
// about 5 s it ends the loop anyway).
void runProgramLoopUntilIdle(HWND window, HACCEL accelerators);

// Handles this thread's messages for the given time. True when the quit
// message arrived (the loop stops there), with its exit code in quitCode.
bool pumpMessages(DWORD milliseconds, WPARAM* quitCode = nullptr);

std::wstring itemText(HWND window, int id);
void setItemText(HWND window, int id, const std::wstring& text);
void setItemTexts(HWND window, const std::vector<ItemText>& texts);

// Every text a command may change: the 35 fields, the text line and the
// twelve button captions, in that order.
std::vector<std::wstring> visibleTexts(HWND window);

// The WM_COMMAND a control sends to the main window (the control's handle in
// lParam), or a menu sends (no control); returns the window's answer.
LRESULT sendCommand(HWND window, int id, WORD notification = 0);

// The font a control draws with (WM_GETFONT, GetObjectW); all zero when
// it has none. itemFontWeight gives its weight, -1 for none.
LOGFONTW itemFont(HWND window, int id);
int itemFontWeight(HWND window, int id);

// Reads a field's text as a number (C conventions); false when it is none.
bool parseNumber(const std::wstring& text, double& value);
