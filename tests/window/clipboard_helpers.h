#pragma once

#include <string>

#include <windows.h>

// The clipboard as another program uses it. Under Wine another process may
// hold it for a moment, so each opening is retried for about 100 ms.
bool openClipboardRetrying(HWND owner);

// Replaces the clipboard's content with narrow text (CF_TEXT only).
bool putClipboardText(const std::string& text);

// Empties the clipboard.
bool clearClipboard();

// Replaces the clipboard's content with a small picture (CF_BITMAP only; the
// system offers it as CF_DIB too, but never as text).
bool putClipboardPicture();

// The clipboard's CF_TEXT up to its terminator, and the size of its block.
bool readClipboardText(std::string& text, SIZE_T& blockSize);
