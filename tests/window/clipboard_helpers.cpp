#include "clipboard_helpers.h"

#include <cstring>

bool openClipboardRetrying(HWND owner) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(owner)) {
            return true;
        }
        Sleep(5);
    }
    return false;
}

bool putClipboardText(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block == nullptr) {
        return false;
    }
    void* bytes = GlobalLock(block);
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!openClipboardRetrying(nullptr)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!placed) {
        GlobalFree(block);
    }
    CloseClipboard();
    return placed;
}

bool clearClipboard() {
    if (!openClipboardRetrying(nullptr)) {
        return false;
    }
    const bool emptied = EmptyClipboard() != 0;
    CloseClipboard();
    return emptied;
}

bool putClipboardPicture() {
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    if (picture == nullptr) {
        return false;
    }
    if (!openClipboardRetrying(nullptr)) {
        DeleteObject(picture);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_BITMAP, picture) != nullptr;
    if (!placed) {
        DeleteObject(picture);
    }
    CloseClipboard();
    return placed;
}

bool readClipboardText(std::string& text, SIZE_T& blockSize) {
    text.clear();
    blockSize = 0;
    if (!openClipboardRetrying(nullptr)) {
        return false;
    }
    bool read = false;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != nullptr) {
        blockSize = GlobalSize(data);
        const auto* bytes = static_cast<const char*>(GlobalLock(data));
        if (bytes != nullptr) {
            const void* end = std::memchr(bytes, '\0', blockSize);
            text.assign(bytes, end != nullptr ? static_cast<const char*>(end) : bytes + blockSize);
            GlobalUnlock(data);
            read = true;
        }
    }
    CloseClipboard();
    return read;
}
