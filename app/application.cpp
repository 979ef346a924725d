#include "app/application.h"

#include "app/app_texts.h"
#include "app/fatal_error.h"
#include "app/main_window_proc.h"
#include "calculator/calculator_state.h"
#include "ui/main_window.h"

void runMessageLoop(HWND window, HACCEL accelerators) {
    MSG message;
    // GetMessageW gives 0 for the quit message and -1 on an error; both end the loop.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(window, accelerators, &message) != 0) {
            continue;
        }
        if (IsDialogMessageW(window, &message) != 0) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool createMainWindow(HINSTANCE instance, int showCommand, WNDPROC windowProc, HWND& window) {
    const WindowFailure failure = buildMainWindow(instance, showCommand, windowProc, window);
    // A failure inside window creation (a control, the self-test) has already
    // told the user and closed the window; one report is enough.
    if (failure == WindowFailure::createWindow && fatalErrorReported()) {
        return false;
    }
    reportWindowFailure(failure);
    return failure == WindowFailure::none;
}

int runApplication(HINSTANCE instance, int showCommand) {
    unscrambleAllTexts();
    resetCalculator();
    // The window has a fixed size: a maximised start opens it in that size.
    if (showCommand == SW_MAXIMIZE) {
        showCommand = SW_RESTORE;
    }
    HWND window = nullptr;
    if (!createMainWindow(instance, showCommand, mainWindowProc, window)) {
        return 0;
    }
    HACCEL accelerators = LoadAcceleratorsW(instance, L"menu_accelerators");
    if (accelerators == nullptr) {
        return 0;
    }
    runMessageLoop(window, accelerators);
    return 0;
}
