#include "ui/main_window.h"

#include "calculator/field_texts.h"
#include "resources/resource_ids.h"
#include "ui/control_ids.h"
#include "ui/interface_texts.h"

namespace {

// Short names that keep the table below readable.
constexpr ControlKind label = ControlKind::label;
constexpr ControlKind field = ControlKind::numberField;
constexpr ControlKind button = ControlKind::button;
constexpr ControlKind textLine = ControlKind::textLineField;

constexpr FontRole headingFont = FontRole::heading;
constexpr FontRole labelFont = FontRole::label;
constexpr FontRole textFont = FontRole::text;
constexpr FontRole numberFont = FontRole::number;

} // namespace

// The matrix fields are numbered by row but created by column.
const ControlSpec mainWindowControls[mainWindowControlCount] = {
    // ABB block
    {label, labelId, L"ABB", 18, 12, 100, 15, headingFont},
    {label, labelId, L"  x", 18, 45, 20, 15, labelFont},
    {label, labelId, L"  y", 18, 65, 20, 15, labelFont},
    {label, labelId, L"  z", 18, 85, 20, 15, labelFont},
    {label, labelId, L"q1", 18, 105, 20, 15, labelFont},
    {label, labelId, L"q2", 18, 125, 20, 15, labelFont},
    {label, labelId, L"q3", 18, 145, 20, 15, labelFont},
    {label, labelId, L"q4", 18, 165, 20, 15, labelFont},
    {field, 707, L"", 38, 43, 80, 18, numberFont},
    {field, 708, L"", 38, 63, 80, 18, numberFont},
    {field, 709, L"", 38, 83, 80, 18, numberFont},
    {field, 710, L"", 38, 103, 80, 18, numberFont},
    {field, 711, L"", 38, 123, 80, 18, numberFont},
    {field, 712, L"", 38, 143, 80, 18, numberFont},
    {field, 713, L"", 38, 163, 80, 18, numberFont},
    // KUKA block
    {label, labelId, L"KUKA", 158, 12, 100, 15, headingFont},
    {label, labelId, L"X", 158, 45, 20, 15, labelFont},
    {label, labelId, L"Y", 158, 65, 20, 15, labelFont},
    {label, labelId, L"Z", 158, 85, 20, 15, labelFont},
    {label, labelId, L"A", 158, 105, 20, 15, labelFont},
    {label, labelId, L"B", 158, 125, 20, 15, labelFont},
    {label, labelId, L"C", 158, 145, 20, 15, labelFont},
    {field, 701, L"", 178, 43, 80, 18, numberFont},
    {field, 702, L"", 178, 63, 80, 18, numberFont},
    {field, 703, L"", 178, 83, 80, 18, numberFont},
    {field, 704, L"", 178, 103, 80, 18, numberFont},
    {field, 705, L"", 178, 123, 80, 18, numberFont},
    {field, 706, L"", 178, 143, 80, 18, numberFont},
    // FANUC block
    {label, labelId, L"FANUC", 298, 12, 100, 15, headingFont},
    {label, labelId, L"X", 298, 45, 20, 15, labelFont},
    {label, labelId, L"Y", 298, 65, 20, 15, labelFont},
    {label, labelId, L"Z", 298, 85, 20, 15, labelFont},
    {label, labelId, L"W", 298, 105, 20, 15, labelFont},
    {label, labelId, L"P", 298, 125, 20, 15, labelFont},
    {label, labelId, L"R", 298, 145, 20, 15, labelFont},
    {field, 730, L"", 318, 43, 80, 18, numberFont},
    {field, 731, L"", 318, 63, 80, 18, numberFont},
    {field, 732, L"", 318, 83, 80, 18, numberFont},
    {field, 733, L"", 318, 103, 80, 18, numberFont},
    {field, 734, L"", 318, 123, 80, 18, numberFont},
    {field, 735, L"", 318, 143, 80, 18, numberFont},
    // Matrix block: the upper three rows column by column, then the bottom row.
    {label, labelId, L"MATRIX", 445, 12, 100, 15, headingFont},
    {field, 714, L"", 445, 43, 80, 18, numberFont},
    {field, 718, L"", 445, 63, 80, 18, numberFont},
    {field, 722, L"", 445, 83, 80, 18, numberFont},
    {field, 715, L"", 527, 43, 80, 18, numberFont},
    {field, 719, L"", 527, 63, 80, 18, numberFont},
    {field, 723, L"", 527, 83, 80, 18, numberFont},
    {field, 716, L"", 609, 43, 80, 18, numberFont},
    {field, 720, L"", 609, 63, 80, 18, numberFont},
    {field, 724, L"", 609, 83, 80, 18, numberFont},
    {field, 717, L"", 691, 43, 80, 18, numberFont},
    {field, 721, L"", 691, 63, 80, 18, numberFont},
    {field, 725, L"", 691, 83, 80, 18, numberFont},
    {field, 726, L"", 445, 103, 80, 18, numberFont},
    {field, 727, L"", 527, 103, 80, 18, numberFont},
    {field, 728, L"", 609, 103, 80, 18, numberFont},
    {field, 729, L"", 691, 103, 80, 18, numberFont},
    // Section labels and buttons
    {label, labelId, L"Import from", 18, 195, 100, 15, textFont},
    {label, labelId, L"Copy to clipboard", 528, 195, 100, 15, textFont},
    {label, labelId, L"Operations", 445, 135, 100, 15, textFont},
    {button, importAbbButton, L"ABB", 18, 215, 76, 26, textFont},
    {button, importKukaButton, L"KUKA", 101, 215, 76, 26, textFont},
    {button, importFanucButton, L"FANUC", 184, 215, 76, 26, textFont},
    {button, importMatrixButton, L"Matrix", 267, 215, 76, 26, textFont},
    {button, importClipboardButton, L"Clipboard", 350, 215, 76, 26, textFont},
    {button, slotAButton, L"Save A", 445, 155, 76, 26, textFont},
    {button, slotBButton, L"Save B", 528, 155, 76, 26, textFont},
    {button, invertButton, L"Invert", 611, 155, 76, 26, textFont},
    {button, multiplyButton, L"A : B", 694, 155, 76, 26, textFont},
    {button, copyAbbButton, L"ABB", 528, 215, 76, 26, textFont},
    {button, copyKukaButton, L"KUKA", 611, 215, 76, 26, textFont},
    {button, copyFanucButton, L"FANUC", 694, 215, 76, 26, textFont},
    {textLine, textLineId, L"", 18, 274, 752, 20, textFont},
};

namespace {

constexpr DWORD labelStyle = WS_CHILD | WS_VISIBLE | SS_SIMPLE; // 0x5000000B
constexpr DWORD numberFieldStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_RIGHT; // 0x50810082
constexpr DWORD textLineStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;              // 0x50800000
constexpr DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER | BS_VCENTER;
static_assert(labelStyle == 0x5000000B && numberFieldStyle == 0x50810082 &&
              textLineStyle == 0x50800000 && buttonStyle == 0x50010F00);

// No sizing frame and no maximise box: the layout is fixed.
constexpr DWORD mainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
static_assert(mainWindowStyle == 0x00CA0000);
constexpr int mainWindowX = 100;
constexpr int mainWindowY = 100;
// The outer size, frame, caption and menu bar included. The text line lies at
// the lower edge of the client area; users know the window at this size.
constexpr int mainWindowWidth = 802;
constexpr int mainWindowHeight = 318;

struct InterfaceFonts {
    HFONT heading = nullptr;
    HFONT label = nullptr;
    HFONT text = nullptr;
    HFONT number = nullptr;
    HFONT held = nullptr; // slot buttons while their slot is held
};

// Made once and kept for the whole run; the system reclaims them at exit.
InterfaceFonts fonts;

HMENU controlId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

WindowFailure failureOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::label:
        return WindowFailure::label;
    case ControlKind::numberField:
    case ControlKind::textLineField:
        return WindowFailure::field;
    case ControlKind::button:
        return WindowFailure::button;
    }
    return WindowFailure::label;
}

bool createControl(HWND parent, HINSTANCE instance, const ControlSpec& entry) {
    const ControlClass made = controlClass(entry.kind);
    HWND control =
        CreateWindowExW(made.exStyle, made.className, entry.text, made.style, entry.x, entry.y,
                        entry.width, entry.height, parent, controlId(entry.id), instance, nullptr);
    if (control == nullptr) {
        return false;
    }
    // Without redrawing: nothing is shown yet.
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(interfaceFont(entry.font)), 0);
    return true;
}

} // namespace

ControlClass controlClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::label:
        return {L"Static", 0, labelStyle};
    // The raised edge and a plain border, as users know the fields.
    case ControlKind::numberField:
        return {L"Edit", WS_EX_WINDOWEDGE, numberFieldStyle};
    case ControlKind::textLineField:
        return {L"Edit", WS_EX_WINDOWEDGE, textLineStyle};
    case ControlKind::button:
        return {L"Button", 0, buttonStyle};
    }
    return {L"Static", 0, labelStyle};
}

HFONT createInterfaceFont(int height, int weight, bool fixedPitch) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, 0,
                       fixedPitch ? L"Courier new" : interfaceTexts.fontFace);
}

bool makeInterfaceFonts() {
    if (fonts.heading == nullptr) {
        fonts.heading = createInterfaceFont(16, 600, false);
    }
    if (fonts.label == nullptr) {
        fonts.label = createInterfaceFont(14, 600, false);
    }
    if (fonts.text == nullptr) {
        fonts.text = createInterfaceFont(14, FW_NORMAL, false);
    }
    if (fonts.number == nullptr) {
        fonts.number = createInterfaceFont(14, FW_NORMAL, true);
    }
    return fonts.heading != nullptr && fonts.label != nullptr && fonts.text != nullptr &&
           fonts.number != nullptr;
}

HFONT interfaceFont(FontRole role) {
    switch (role) {
    case FontRole::heading:
        return fonts.heading;
    case FontRole::label:
        return fonts.label;
    case FontRole::text:
        return fonts.text;
    case FontRole::number:
        return fonts.number;
    }
    return fonts.text;
}

ControlsBuilt buildControls(HWND parent) {
    ControlsBuilt built;
    built.fontsMade = makeInterfaceFonts();
    if (!built.fontsMade) {
        return built;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    // A control that fails is noted; the others are still made.
    for (const ControlSpec& entry : mainWindowControls) {
        if (!createControl(parent, instance, entry)) {
            built.failed[built.failedCount++] = failureOf(entry.kind);
        }
    }
    return built;
}

HFONT slotButtonFont(bool held) {
    if (!held) {
        return fonts.text;
    }
    if (fonts.held == nullptr) {
        fonts.held = createInterfaceFont(14, FW_BOLD, false);
    }
    return fonts.held;
}

WindowFailure buildMainWindow(HINSTANCE instance, int showCommand, WNDPROC windowProc,
                              HWND& window) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(POSEBRIDGE_ICON_LARGE));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = interfaceTexts.title;
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(POSEBRIDGE_ICON_SMALL));
    // A class this process registered before (a second window in the same
    // process) serves as well as a new one.
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        window = nullptr;
        return WindowFailure::registerClass;
    }

    window = CreateWindowExW(WS_EX_WINDOWEDGE, interfaceTexts.title, interfaceTexts.title,
                             mainWindowStyle, mainWindowX, mainWindowY, mainWindowWidth,
                             mainWindowHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return WindowFailure::createWindow;
    }
    ShowWindow(window, showCommand);
    return WindowFailure::none;
}
