#include "ui/menu.h"

#include <cstddef>

#include "ui/control_ids.h"

namespace {

struct MenuEntry {
    UINT flags;
    int command;
    const wchar_t* text;
};

// The text after the tab is only shown at the entry's right edge: Alt+F4
// works through the system menu, F1 through the accelerator table.
const MenuEntry fileEntries[] = {
    {MF_STRING, resetCommandId, L"&Reset"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, exitCommand, L"E&xit\tAlt+F4"},
};

const MenuEntry helpEntries[] = {
    {MF_STRING, helpMenuCommand, L"&Help\tF1"},
    {MF_STRING, aboutCommand, L"&About"},
};

template <std::size_t Count>
void appendPopup(HMENU bar, const wchar_t* title, const MenuEntry (&entries)[Count]) {
    HMENU popup = CreatePopupMenu();
    for (const MenuEntry& entry : entries) {
        AppendMenuW(popup, entry.flags, static_cast<UINT_PTR>(entry.command), entry.text);
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
}

} // namespace

// A failed call leaves the menu incomplete; the program works without it.
HMENU createMainMenu() {
    HMENU bar = CreateMenu();
    appendPopup(bar, L"&File", fileEntries);
    appendPopup(bar, L"&Help", helpEntries);
    return bar;
}
