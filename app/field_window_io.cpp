#include "app/field_window_io.h"

#include <cwchar>

namespace {

// The capacities never exceed the arrays they describe.
int boundedCapacity(int capacity, int units) {
    return capacity < 0 ? 0 : (capacity > units ? units : capacity);
}

// The control with the given identifier (701 to 736), as GetDlgItem finds it.
// Every command reads and writes all 36 texts, and under Wine each GetDlgItem
// is a round trip to the server; the controls live as long as the window, so
// a handle found once is kept and afterwards only checked, which needs no
// round trip.
HWND fieldControl(HWND window, int id) {
    static HWND found[fieldCount + 1] = {};
    HWND& control = found[id - firstFieldId];
    if (control == nullptr || GetParent(control) != window || GetDlgCtrlID(control) != id) {
        control = GetDlgItem(window, id);
    }
    return control;
}

// GetDlgItemTextW through the kept handle.
void getText(HWND window, int id, wchar_t* text, int limit) {
    if (limit > 0) {
        text[0] = L'\0';
    }
    HWND control = fieldControl(window, id);
    if (control != nullptr) {
        SendMessageW(control, WM_GETTEXT, static_cast<WPARAM>(limit),
                     reinterpret_cast<LPARAM>(text));
    }
}

// SetDlgItemTextW through the kept handle, skipped when the control already
// shows exactly this text: changing an edit control's text costs several
// server round trips under Wine, and most commands change only some fields.
void setText(HWND window, int id, const wchar_t* text, wchar_t (&shown)[textBufferUnits]) {
    HWND control = fieldControl(window, id);
    if (control == nullptr) {
        return;
    }
    const std::size_t length = std::wcslen(text);
    const LRESULT shownLength = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    if (shownLength >= 0 && static_cast<std::size_t>(shownLength) == length &&
        length < textBufferUnits) {
        SendMessageW(control, WM_GETTEXT, textBufferUnits, reinterpret_cast<LPARAM>(shown));
        if (std::wcscmp(shown, text) == 0) {
            return;
        }
    }
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

} // namespace

void readFields(HWND window, FieldTexts& texts) {
    const int fieldLimit = boundedCapacity(texts.fieldCapacity, fieldTextUnits);
    for (int index = 0; index < fieldCount; ++index) {
        getText(window, firstFieldId + index, texts.fields[index], fieldLimit);
    }
    getText(window, textLineId, texts.text, boundedCapacity(texts.textCapacity, textBufferUnits));
}

void writeFields(HWND window, const FieldTexts& texts) {
    wchar_t shown[textBufferUnits];
    for (int index = 0; index < fieldCount; ++index) {
        setText(window, firstFieldId + index, texts.fields[index], shown);
    }
    setText(window, textLineId, texts.text, shown);
}
