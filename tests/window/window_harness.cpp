#include "window_harness.h"

#include <charconv>

#include "app/app_texts.h"
#include "app/application.h"
#include "app/main_window_proc.h"
#include "box_capture.h"
#include "calculator/calculator_state.h"
#include "ui/main_window.h"

namespace {

constexpr int buttonIds[] = {801, 802, 803, 804, 805, 806, 807, 808, 809, 810, 811, 812};

// The program's own loop runs until a quit message; the timer posts one
// once the loop has nothing left to do. Timer messages come only when no
// posted message is waiting, so by the first tick the posted keys are done.
constexpr UINT idleTickMs = 10;
constexpr int maxIdleTicks = 500;
int idleTicks = 0;
bool quitPosted = false;

void CALLBACK quitWhenIdle(HWND, UINT, UINT_PTR, DWORD) {
    ++idleTicks;
    if (quitPosted) {
        return;
    }
    if (threadDialogs(GetCurrentThreadId()).empty() || idleTicks > maxIdleTicks) {
        quitPosted = true;
        PostQuitMessage(0);
    }
}

} // namespace

const std::vector<ItemText>& startFieldTexts() {
    static const std::vector<ItemText> texts = {
        // KUKA X, Y, Z, A, B, C
        {701, L"0.00"},
        {702, L"0.00"},
        {703, L"0.00"},
        {704, L"0.00"},
        {705, L"0.00"},
        {706, L"0.00"},
        // ABB x, y, z, q1 to q4
        {707, L"0.00"},
        {708, L"0.00"},
        {709, L"0.00"},
        {710, L"1.0000000"},
        {711, L"0.0000000"},
        {712, L"0.0000000"},
        {713, L"0.0000000"},
        // matrix, row by row
        {714, L"1.0000000"},
        {715, L"0.0000000"},
        {716, L"0.0000000"},
        {717, L"0.00"},
        {718, L"0.0000000"},
        {719, L"1.0000000"},
        {720, L"0.0000000"},
        {721, L"0.00"},
        {722, L"0.0000000"},
        {723, L"0.0000000"},
        {724, L"1.0000000"},
        {725, L"0.00"},
        {726, L"0"},
        {727, L"0"},
        {728, L"0"},
        {729, L"1"},
        // FANUC X, Y, Z, W, P, R
        {730, L"0.00"},
        {731, L"0.00"},
        {732, L"0.00"},
        {733, L"0.00"},
        {734, L"0.00"},
        {735, L"0.00"},
    };
    return texts;
}

HWND openMainWindow(int showCommand) {
    static bool textsReady = false;
    if (!textsReady) {
        unscrambleAllTexts();
        textsReady = true;
    }
    resetCalculator();
    HWND window = nullptr;
    if (!createMainWindow(GetModuleHandleW(nullptr), showCommand, mainWindowProc, window)) {
        return nullptr;
    }
    pumpMessages(0);
    return window;
}

void closeMainWindow(HWND window) {
    if (window != nullptr && IsWindow(window)) {
        DestroyWindow(window);
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

HACCEL loadProgramAccelerators() {
    return LoadAcceleratorsW(GetModuleHandleW(nullptr), L"menu_accelerators");
}

void runProgramLoopUntilIdle(HWND window, HACCEL accelerators) {
    idleTicks = 0;
    quitPosted = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, idleTickMs, quitWhenIdle);
    runMessageLoop(window, accelerators);
    KillTimer(nullptr, timer);
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
}

bool pumpMessages(DWORD milliseconds, WPARAM* quitCode) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                if (quitCode != nullptr) {
                    *quitCode = message.wParam;
                }
                return true;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

std::wstring itemText(HWND window, int id) {
    wchar_t text[4096] = {};
    GetDlgItemTextW(window, id, text, 4096);
    return text;
}

void setItemText(HWND window, int id, const std::wstring& text) {
    SetDlgItemTextW(window, id, text.c_str());
}

void setItemTexts(HWND window, const std::vector<ItemText>& texts) {
    for (const ItemText& item : texts) {
        setItemText(window, item.id, item.text);
    }
}

std::vector<std::wstring> visibleTexts(HWND window) {
    std::vector<std::wstring> texts;
    for (int id = 701; id <= textLine; ++id) {
        texts.push_back(itemText(window, id));
    }
    for (int id : buttonIds) {
        texts.push_back(itemText(window, id));
    }
    return texts;
}

LRESULT sendCommand(HWND window, int id, WORD notification) {
    const HWND control = GetDlgItem(window, id);
    return SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, notification),
                        reinterpret_cast<LPARAM>(control));
}

LOGFONTW itemFont(HWND window, int id) {
    const auto font = reinterpret_cast<HFONT>(SendDlgItemMessageW(window, id, WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    if (font == nullptr || GetObjectW(font, sizeof description, &description) == 0) {
        return LOGFONTW{};
    }
    return description;
}

int itemFontWeight(HWND window, int id) {
    const LOGFONTW font = itemFont(window, id);
    return font.lfHeight == 0 ? -1 : static_cast<int>(font.lfWeight);
}

bool parseNumber(const std::wstring& text, double& value) {
    std::string narrow;
    for (wchar_t unit : text) {
        if (unit > 0x7F) {
            return false;
        }
        narrow += static_cast<char>(unit);
    }
    const char* end = narrow.data() + narrow.size();
    const std::from_chars_result result = std::from_chars(narrow.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}
