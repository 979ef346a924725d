#pragma once

#include <windows.h>

#include "calculator/field_texts.h"

// Import from Clipboard: takes the clipboard's text (CF_TEXT, ANSI code
// page) into the text buffer, shows it in the text line and has it
// recognised as robot text. On success the state is formatted into texts; on
// failure the message box shows the message left in the text buffer. Every
// message box comes after the clipboard is closed again.
void importClipboard(HWND window, FieldTexts& texts);

// Puts text (at most capacity characters) on the clipboard as CF_TEXT in a
// block of at least capacity bytes, owned by window. The clipboard is only
// emptied once the new block is ready; every failure is reported here.
// True when the text is on the clipboard.
bool writeClipboardText(HWND window, const wchar_t* text, int capacity);
