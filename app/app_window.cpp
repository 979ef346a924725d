#include "app/app_window.h"

#include "app/app_texts.h"

HWND mainWindow = nullptr;

void showMessage(HWND owner, const wchar_t* text, UINT icon) {
    MessageBoxW(owner, text, interfaceTexts.title, icon);
}
