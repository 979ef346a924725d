#include "ui/about_dialog.h"

#include "resources/version.h"
#include "ui/about_template.h"
#include "ui/interface_texts.h"

namespace {

struct AboutFonts {
    HFONT title = nullptr;
    HFONT version = nullptr;
    HFONT heading = nullptr;
    HFONT subheading = nullptr;
    HFONT link = nullptr;
};

// Made the first time the box opens and kept for later openings.
AboutFonts fonts;

constexpr COLORREF linkColour = RGB(0, 0, 255);
constexpr COLORREF headingColour = RGB(128, 0, 0);

HFONT makeFont(int height, int weight, bool underline, DWORD precision, const wchar_t* face) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE,
                       ANSI_CHARSET, precision, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, 0, face);
}

void makeFonts() {
    if (fonts.title == nullptr) {
        fonts.title = makeFont(18, FW_MEDIUM, false, OUT_DEFAULT_PRECIS, interfaceTexts.fontFace);
    }
    if (fonts.version == nullptr) {
        fonts.version = makeFont(14, FW_NORMAL, false, OUT_DEFAULT_PRECIS, interfaceTexts.fontFace);
    }
    if (fonts.heading == nullptr) {
        fonts.heading = makeFont(27, FW_BOLD, false, OUT_TT_PRECIS, L"Georgia");
    }
    if (fonts.subheading == nullptr) {
        fonts.subheading = makeFont(16, FW_NORMAL, false, OUT_TT_PRECIS, L"Corbel");
    }
    if (fonts.link == nullptr) {
        fonts.link = makeFont(14, FW_NORMAL, true, OUT_DEFAULT_PRECIS, interfaceTexts.fontFace);
    }
}

void setItemFont(HWND dialog, int item, HFONT font) {
    SendDlgItemMessageW(dialog, item, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// __DATE__ reads "Mmm dd yyyy" (the day padded with a blank); the About box
// shows it as yyyy-mm-dd, which reads the same everywhere.
void writeBuildDate(wchar_t (&date)[11]) {
    constexpr char compiled[] = __DATE__;
    constexpr const char* months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    int month = 0;
    for (int m = 0; m < 12; ++m) {
        if (compiled[0] == months[3 * m] && compiled[1] == months[3 * m + 1] &&
            compiled[2] == months[3 * m + 2]) {
            month = m + 1;
        }
    }
    const wchar_t isoDate[] = {
        static_cast<wchar_t>(compiled[7]),
        static_cast<wchar_t>(compiled[8]),
        static_cast<wchar_t>(compiled[9]),
        static_cast<wchar_t>(compiled[10]),
        L'-',
        static_cast<wchar_t>(L'0' + month / 10),
        static_cast<wchar_t>(L'0' + month % 10),
        L'-',
        static_cast<wchar_t>(compiled[4] == ' ' ? L'0' : compiled[4]),
        static_cast<wchar_t>(compiled[5]),
        L'\0',
    };
    for (int i = 0; i < 11; ++i) {
        date[i] = isoDate[i];
    }
}

BOOL onInitDialog(HWND dialog) {
    makeFonts();
    setItemFont(dialog, aboutTitleId, fonts.title);
    setItemFont(dialog, aboutVersionId, fonts.version);
    setItemFont(dialog, aboutHeadingId, fonts.heading);
    setItemFont(dialog, aboutSubheadingId, fonts.subheading);
    setItemFont(dialog, aboutLinkId, fonts.link);
    return TRUE; // the system sets the default focus
}

// The link and the heading are drawn in their own colours on the dialog's
// background; every other static keeps the default colours.
INT_PTR onCtlColorStatic(HDC context, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id != aboutLinkId && id != aboutHeadingId) {
        return FALSE;
    }
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, id == aboutLinkId ? linkColour : headingColour);
    // The dialog's own background, as a system brush: nothing to create and
    // nothing to release however often the box is drawn.
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

// The shell is loaded only when the link is clicked: under Wine, loading
// shell32 (and the libraries it pulls in) at start-up costs every start of
// the program several milliseconds, for a link that few users ever click.
// It stays loaded once it is, as a static import would. shell32 is one of the
// system's known libraries, always taken from the system folder.
void openLink(const wchar_t* target) {
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    if (shell == nullptr) {
        return;
    }
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, const wchar_t*, const wchar_t*,
                                                    const wchar_t*, const wchar_t*, int);
    const auto shellExecute = reinterpret_cast<ShellExecuteFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteW")));
    if (shellExecute != nullptr) {
        shellExecute(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
    }
}

// A click on the link opens the home page and keeps the box open; any other
// command (Close, Enter, Esc, another notification of the link) closes it.
BOOL onCommand(HWND dialog, int id, int notification) {
    if (id == aboutLinkId && notification == STN_CLICKED) {
        openLink(interfaceTexts.aboutLinkTarget);
        return TRUE;
    }
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog);
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        return onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
        return FALSE;
    }
}

void showAboutDialog(HWND owner) {
    wchar_t date[11];
    writeBuildDate(date);
    wchar_t versionLines[64] = L"Version " POSEBRIDGE_VERSION_TEXT L"\r\nBuilt ";
    lstrcatW(versionLines, date);

    AboutTexts texts;
    texts.title = interfaceTexts.title;
    texts.versionLines = versionLines;
    texts.heading = interfaceTexts.aboutHeading;
    texts.subheading = interfaceTexts.aboutSubheading;
    texts.linkText = interfaceTexts.aboutLinkText;

    TemplateBuffer buffer;
    buildAboutTemplate(buffer, texts, interfaceTexts.fontFace);
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                            reinterpret_cast<LPCDLGTEMPLATEW>(buffer.bytes), owner, aboutDialogProc,
                            0);
}
