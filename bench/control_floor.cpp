// The floor that posebridge.exe's layout allows, to measure the program
// against: a window of the program's class settings, frame and size with the
// same 74 controls (the window layer's own table: same classes, styles,
// sizes, fonts and texts), made in one plain loop of CreateWindowExW and
// WM_SETFONT, and nothing else: no menu, no self-test, no calculator state.
// Each number field is made showing the text the program shows at start, so
// that the start-up probe recognises the same moment in both.
//
// It is also the floor of a command that rewrites fields: the message
// setTextsMessage (wParam: a count) sets that many edit texts with
// SetWindowTextW in a loop, each to a text other than the one it shows, as
// Invert does to the fields it changes.

#include "bench/control_floor.h"
#include "calculator/field_texts.h"
#include "ui/interface_texts.h"
#include "ui/main_window.h"

namespace {

// What the program shows at start in fields 701 to 735: the identity.
const wchar_t* startText(int id) {
    const int index = id - firstFieldId;
    if (index >= matrixFirstIndex && index < fanucFirstIndex) {
        const int row = (index - matrixFirstIndex) / 4;
        const int column = (index - matrixFirstIndex) % 4;
        if (row == 3) {
            return column == 3 ? L"1" : L"0";
        }
        if (column == 3) {
            return L"0.00";
        }
        return row == column ? L"1.0000000" : L"0.0000000";
    }
    if (index >= abbFirstIndex + 3 && index < matrixFirstIndex) {
        return index == abbFirstIndex + 3 ? L"1.0000000" : L"0.0000000";
    }
    return L"0.00";
}

const wchar_t* creationText(const ControlSpec& entry) {
    return entry.kind == ControlKind::numberField ? startText(entry.id) : entry.text;
}

// The edit controls in the order of their ids (701-736), kept as made: the
// floor of a command needs no lookup.
HWND edits[fieldCount + 1] = {};

void createControls(HWND parent) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    makeInterfaceFonts();
    for (const ControlSpec& entry : mainWindowControls) {
        const ControlClass made = controlClass(entry.kind);
        HWND control = CreateWindowExW(
            made.exStyle, made.className, creationText(entry), made.style, entry.x, entry.y,
            entry.width, entry.height, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(interfaceFont(entry.font)), 0);
        if (entry.id >= firstFieldId && entry.id <= textLineId) {
            edits[entry.id - firstFieldId] = control;
        }
    }
}

// Two texts of a typical length, taken in turns.
void setTexts(WPARAM count) {
    static bool flipped = false;
    flipped = !flipped;
    const wchar_t* text = flipped ? L"-245.80" : L"1012.35";
    for (WPARAM i = 0; i < count && i < fieldCount + 1; ++i) {
        SetWindowTextW(edits[i], text);
    }
}

LRESULT CALLBACK floorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls(window);
        return 0;
    case setTextsMessage:
        setTexts(wParam);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    interfaceTexts.title = L"ControlFloor";
    interfaceTexts.fontFace = L"Tahoma";
    HWND window = nullptr;
    if (buildMainWindow(instance, showCommand, floorWindowProc, window) != WindowFailure::none) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
