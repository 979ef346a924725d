#include "app/fatal_error.h"

#include <cstdint>

#include <windows.h>

#include "app/app_window.h"

namespace {

bool reported = false;

} // namespace

void reportFatalError(std::uint16_t code) {
    reported = true;
    wchar_t text[100] = L"Fatal error: 0x";
    const int prefixLength = 15;
    constexpr wchar_t digits[] = L"0123456789ABCDEF";
    for (int i = 0; i < 4; ++i) {
        text[prefixLength + i] = digits[(code >> (12 - 4 * i)) & 0xF];
    }
    text[prefixLength + 4] = L'\0';
    showMessage(mainWindow, text, MB_ICONERROR);
    SendMessageW(mainWindow, WM_CLOSE, 0, 0);
}

bool fatalErrorReported() {
    return reported;
}

void reportWindowFailure(WindowFailure failure) {
    switch (failure) {
    case WindowFailure::none:
        return;
    case WindowFailure::registerClass:
        reportFatalError(fatalRegisterClass);
        return;
    case WindowFailure::createWindow:
        reportFatalError(fatalCreateWindow);
        return;
    case WindowFailure::label:
        reportFatalError(fatalCreateLabel);
        return;
    case WindowFailure::field:
        reportFatalError(fatalCreateField);
        return;
    case WindowFailure::button:
        reportFatalError(fatalCreateButton);
        return;
    }
}
