#include "app/commands.h"

#include <cstdint>
#include <cwchar>

#include "app/app_window.h"
#include "app/clipboard.h"
#include "app/fatal_error.h"
#include "app/field_window_io.h"
#include "calculator/calculator_state.h"
#include "calculator/field_texts.h"
#include "calculator/imports.h"
#include "calculator/messages.h"
#include "notation/abb_text.h"
#include "notation/fanuc_text.h"
#include "notation/kuka_text.h"
#include "ui/control_ids.h"
#include "ui/main_window.h"

namespace {

// The caption is the only record of whether a slot is held.
struct SlotButton {
    int id;
    const wchar_t* saveCaption;
    const wchar_t* clearCaption;
    void (*setSlot)(bool clear);
};

const SlotButton slotA = {slotAButton, L"Save A", L"Clear A", setSlotA};
const SlotButton slotB = {slotBButton, L"Save B", L"Clear B", setSlotB};

constexpr int captionLimit = 20;

void showWarning(HWND window, const wchar_t* text) {
    showMessage(window, text, MB_ICONWARNING);
}

void setSlotButton(HWND window, const SlotButton& slot, bool held) {
    SetDlgItemTextW(window, slot.id, held ? slot.clearCaption : slot.saveCaption);
    SendDlgItemMessageW(window, slot.id, WM_SETFONT, reinterpret_cast<WPARAM>(slotButtonFont(held)),
                        TRUE);
}

// Saving stores the current transformation (not what is typed in the fields);
// pressing again clears the slot to the identity.
void toggleSlot(HWND window, const SlotButton& slot) {
    wchar_t caption[captionLimit] = {};
    GetDlgItemTextW(window, slot.id, caption, captionLimit);
    const bool save = std::wcscmp(caption, slot.saveCaption) == 0;
    slot.setSlot(!save);
    setSlotButton(window, slot, save);
}

// KUKA, FANUC and ABB: the refused fields and the message are shown before
// the box opens, so the user sees which fields read "NaN".
void importPose(HWND window, FieldTexts& texts, bool (*importFields)(FieldTexts&)) {
    if (importFields(texts)) {
        formatState(texts);
        return;
    }
    writeFields(window, texts);
    showWarning(window, texts.text);
}

// The matrix import shows its box first; its text line ends up empty.
void importMatrixFields(HWND window, FieldTexts& texts) {
    if (importMatrix(texts)) {
        formatState(texts);
        return;
    }
    showWarning(window, texts.text);
    texts.text[0] = L'\0';
}

void multiply(HWND window, FieldTexts& texts) {
    if (multiplySlots()) {
        formatState(texts);
    } else {
        showWarning(window, calculationErrorMessage);
    }
}

// The robot text stays in the text buffer, so the text line shows exactly
// what went to the clipboard. A copy that did not reach the clipboard leaves
// the line as the user had it; the window still shows that text.
void copyText(HWND window, FieldTexts& texts, bool written, std::uint16_t failureCode) {
    if (!written) {
        reportFatalError(failureCode);
        return;
    }
    if (!writeClipboardText(window, texts.text, texts.textCapacity)) {
        GetDlgItemTextW(window, textLineId, texts.text, texts.textCapacity);
    }
}

void runButton(HWND window, int id, FieldTexts& texts) {
    switch (id) {
    case importKukaButton:
        importPose(window, texts, importKuka);
        break;
    case importFanucButton:
        importPose(window, texts, importFanuc);
        break;
    case importAbbButton:
        importPose(window, texts, importAbb);
        break;
    case importMatrixButton:
        importMatrixFields(window, texts);
        break;
    case importClipboardButton:
        importClipboard(window, texts);
        break;
    case slotAButton:
        toggleSlot(window, slotA);
        break;
    case slotBButton:
        toggleSlot(window, slotB);
        break;
    case invertButton:
        invertCurrent();
        formatState(texts);
        break;
    case multiplyButton:
        multiply(window, texts);
        break;
    case copyKukaButton:
        copyText(window, texts,
                 formatKukaText(calculator.currentEuler, texts.text, texts.textCapacity),
                 fatalKukaWriter);
        break;
    case copyAbbButton:
        copyText(window, texts,
                 formatAbbText(calculator.currentQuat, texts.text, texts.textCapacity),
                 fatalAbbOrFanucWriter);
        break;
    case copyFanucButton:
        copyText(window, texts,
                 formatFanucText(calculator.currentEuler, texts.text, texts.textCapacity),
                 fatalAbbOrFanucWriter);
        break;
    default:
        break;
    }
}

} // namespace

bool isButtonId(int id) {
    return id > 800 && id <= 812;
}

int handleCommand(HWND window, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    if (!isButtonId(id) || notification != BN_CLICKED) {
        return -1;
    }
    FieldTexts texts;
    initFieldTexts(texts);
    readFields(window, texts);
    runButton(window, id, texts);
    // What was read is written back whatever the command did, so typed texts
    // that no command refreshed stay in place.
    writeFields(window, texts);
    return 0;
}

void resetCommand(HWND window) {
    resetCalculator();
    FieldTexts texts;
    initFieldTexts(texts);
    formatState(texts);
    writeFields(window, texts);
    setSlotButton(window, slotA, false);
    setSlotButton(window, slotB, false);
}
