#include "ui/help_dialog.h"

#include "ui/help_template.h"
#include "ui/interface_texts.h"

INT_PTR CALLBACK helpDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        // Close, Enter and Esc all end the page.
        EndDialog(dialog, 1);
        return TRUE;
    default:
        return FALSE;
    }
}

void showHelpDialog(HWND owner) {
    TemplateBuffer buffer;
    buildHelpTemplate(buffer, interfaceTexts.fontFace);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<LPCDLGTEMPLATEW>(buffer.bytes), owner, helpDialogProc,
                            0);
}
