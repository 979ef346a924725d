#include "app/clipboard.h"

#include <cstring>

#include "app/app_window.h"
#include "app/fatal_error.h"
#include "calculator/messages.h"
#include "calculator/recognition.h"

namespace {

// One character takes at most this many bytes in any ANSI code page (UTF-8
// included), so the first n characters of a text lie within its first
// maxBytesPerCharacter * n bytes.
constexpr int maxBytesPerCharacter = 4;
constexpr int maxImportedCharacters = textBufferUnits - 1;

// Scratch space for the conversion; each of its units comes from at least
// one byte, so it holds whatever the bytes it is given convert to.
wchar_t importScratch[maxBytesPerCharacter * maxImportedCharacters];

bool isHighSurrogate(wchar_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// Converts the narrow text of a clipboard block into the text buffer. The
// block need not hold a terminator: nothing past its size is read. Text
// longer than the buffer keeps its first characters.
void takeClipboardText(const char* narrow, SIZE_T blockSize, FieldTexts& texts) {
    int limit = texts.textCapacity - 1;
    if (limit > maxImportedCharacters) {
        limit = maxImportedCharacters;
    }
    texts.text[0] = L'\0';
    if (limit <= 0) {
        return;
    }
    const void* end = std::memchr(narrow, '\0', blockSize);
    SIZE_T length =
        end != nullptr ? static_cast<SIZE_T>(static_cast<const char*>(end) - narrow) : blockSize;
    const auto byteLimit = static_cast<SIZE_T>(maxBytesPerCharacter) * static_cast<SIZE_T>(limit);
    if (length > byteLimit) {
        length = byteLimit;
    }
    int units = 0;
    if (length > 0) {
        units = MultiByteToWideChar(
            CP_ACP, MB_PRECOMPOSED, narrow, static_cast<int>(length), importScratch,
            static_cast<int>(sizeof importScratch / sizeof importScratch[0]));
    }
    if (units > limit) {
        units = limit;
        // Never keep half of a surrogate pair at the cut.
        if (isHighSurrogate(importScratch[units - 1])) {
            --units;
        }
    }
    if (units > 0) {
        std::memcpy(texts.text, importScratch, static_cast<std::size_t>(units) * sizeof(wchar_t));
    }
    texts.text[units] = L'\0';
}

int boundedLength(const wchar_t* text, int capacity) {
    int length = 0;
    while (length < capacity && text[length] != L'\0') {
        ++length;
    }
    return length;
}

} // namespace

void importClipboard(HWND window, FieldTexts& texts) {
    if (!IsClipboardFormatAvailable(CF_TEXT)) {
        showMessage(window, unrecognizedFormatMessage, MB_ICONWARNING);
        return;
    }
    if (!OpenClipboard(window)) {
        showMessage(window, clipboardAccessMessage, MB_ICONERROR);
        return;
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) {
        CloseClipboard();
        showMessage(nullptr, clipboardAccessMessage, MB_ICONERROR);
        return;
    }
    const auto* narrow = static_cast<const char*>(GlobalLock(data));
    if (narrow == nullptr) {
        CloseClipboard();
        showMessage(window, clipboardAccessMessage, MB_ICONERROR);
        return;
    }
    takeClipboardText(narrow, GlobalSize(data), texts);
    GlobalUnlock(data);
    CloseClipboard();

    SetDlgItemTextW(window, textLineId, texts.text);
    if (recognizeRobotText(texts)) {
        formatState(texts);
    } else {
        showMessage(window, texts.text, MB_ICONWARNING);
    }
}

bool writeClipboardText(HWND window, const wchar_t* text, int capacity) {
    if (capacity < 1) {
        capacity = 1;
    }
    const int length = boundedLength(text, capacity);
    // Readers have always been handed a block of the full capacity; a text
    // that fills the capacity gets room for its terminator as well.
    const int blockSize = length + 1 > capacity ? length + 1 : capacity;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(blockSize));
    auto* bytes = block != nullptr ? static_cast<char*>(GlobalLock(block)) : nullptr;
    if (bytes == nullptr) {
        if (block != nullptr) {
            GlobalFree(block);
        }
        showMessage(nullptr, clipboardCopyMessage, MB_ICONERROR);
        return false;
    }
    // The robot texts are ASCII: one byte per character, or the text is not
    // what the user sees and must not reach a robot.
    const int converted = length == 0 ? 0
                                      : WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text, length,
                                                            bytes, length, nullptr, nullptr);
    bytes[length] = '\0';
    GlobalUnlock(block);
    if (converted != length) {
        GlobalFree(block);
        reportFatalError(fatalNarrowCopyText);
        return false;
    }

    if (!OpenClipboard(window)) {
        GlobalFree(block);
        showMessage(window, clipboardAccessMessage, MB_ICONERROR);
        return false;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, block) == nullptr) {
        // A refused block still belongs to us.
        GlobalFree(block);
        CloseClipboard();
        showMessage(nullptr, clipboardCopyMessage, MB_ICONERROR);
        return false;
    }
    CloseClipboard();
    return true;
}
