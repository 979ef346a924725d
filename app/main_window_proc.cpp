#include "app/main_window_proc.h"

#include "app/app_window.h"
#include "app/commands.h"
#include "app/fatal_error.h"
#include "app/field_window_io.h"
#include "calculator/field_texts.h"
#include "notation/self_test.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/help_dialog.h"
#include "ui/main_window.h"
#include "ui/menu.h"

namespace {

void showState(HWND window) {
    FieldTexts texts;
    initFieldTexts(texts);
    formatState(texts);
    writeFields(window, texts);
}

// Each control that could not be made is reported with its code, in creation
// order, then the whole with its own. Without the fonts nothing was made and
// nothing is reported.
bool createControls(HWND window) {
    const ControlsBuilt built = buildControls(window);
    for (int i = 0; i < built.failedCount; ++i) {
        reportWindowFailure(built.failed[i]);
    }
    if (built.failedCount > 0) {
        reportFatalError(fatalCreateControls);
    }
    return built.fontsMade && built.failedCount == 0;
}

void onCreate(HWND window) {
    mainWindow = window;
    SetMenu(window, createMainMenu());
    if (!createControls(window)) {
        SendMessageW(window, WM_DESTROY, 0, 0);
    }
    showState(window);
    // Every start proves the conversion chain before the user sees a number.
    if (!runSelfTest()) {
        reportFatalError(fatalSelfTest);
    }
}

void onDestroy(HWND window) {
    if (window == mainWindow) {
        mainWindow = nullptr;
    }
    PostQuitMessage(0);
}

// Menu commands are told apart by the low word alone, so the F1 accelerator
// (notification 1) and the menu (notification 0) act alike.
LRESULT onCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case exitCommand:
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case aboutCommand:
        showAboutDialog(window);
        return 0;
    case resetCommandId:
        resetCommand(window);
        return 0;
    case helpMenuCommand:
    case helpKeyCommand:
        showHelpDialog(window);
        return 0;
    default:
        if (handleCommand(window, wParam) != 0) {
            return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
        }
        return 0;
    }
}

// The labels fill their text's background; give them the window's own
// background colour so they do not stand out as boxes where the system's
// menu and button-face colours differ.
LRESULT onCtlColorStatic(HDC context) {
    SetBkColor(context, GetSysColor(COLOR_MENU));
    SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_MENU));
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(window);
        return 0;
    case WM_DESTROY:
        onDestroy(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_COMMAND:
        return onCommand(window, wParam, lParam);
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(reinterpret_cast<HDC>(wParam));
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
