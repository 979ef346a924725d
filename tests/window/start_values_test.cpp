#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace {

using StartValues = MainWindowTest;

TEST_F(StartValues, EveryFieldShowsTheIdentityAndTheTextLineIsEmpty) {
    for (const ItemText& field : startFieldTexts()) {
        SCOPED_TRACE(field.id);
        EXPECT_EQ(itemText(window, field.id), field.text);
    }
    EXPECT_EQ(startFieldTexts().size(), 35u);
    EXPECT_EQ(itemText(window, textLine), L"");
    EXPECT_TRUE(capture.boxes.empty());
}

TEST_F(StartValues, ButtonsShowTheirCaptionsAndBothSlotsAreEmpty) {
    const ItemText captions[] = {
        {buttonImportAbb, L"ABB"},
        {buttonImportKuka, L"KUKA"},
        {buttonImportFanuc, L"FANUC"},
        {buttonImportMatrix, L"Matrix"},
        {buttonImportClipboard, L"Clipboard"},
        {buttonSlotA, L"Save A"},
        {buttonSlotB, L"Save B"},
        {buttonInvert, L"Invert"},
        {buttonMultiply, L"A : B"},
        {buttonCopyAbb, L"ABB"},
        {buttonCopyKuka, L"KUKA"},
        {buttonCopyFanuc, L"FANUC"},
    };
    for (const ItemText& button : captions) {
        SCOPED_TRACE(button.id);
        EXPECT_EQ(itemText(window, button.id), button.text);
    }
    EXPECT_EQ(itemFontWeight(window, buttonSlotA), 400);
    EXPECT_EQ(itemFontWeight(window, buttonSlotB), 400);
}

TEST_F(StartValues, TheWindowHasItsFixedSizeAndCannotBeMaximised) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    RECT frame = {};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 100);
    EXPECT_EQ(frame.top, 100);
    EXPECT_EQ(frame.right - frame.left, 802);
    EXPECT_EQ(frame.bottom - frame.top, 318);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"PoseBridge");
}

std::wstring menuText(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

TEST_F(StartValues, TheMenuOffersResetExitHelpAndAbout) {
    const HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(menuText(bar, 0), L"&File");
    EXPECT_EQ(menuText(bar, 1), L"&Help");
    const struct {
        int menu;
        UINT position;
        const wchar_t* text;
        UINT command; // 0 for the separator
    } entries[] = {
        {0, 0, L"&Reset", 1003},    {0, 1, L"", 0},          {0, 2, L"E&xit\tAlt+F4", 1001},
        {1, 0, L"&Help\tF1", 1007}, {1, 1, L"&About", 1002},
    };
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 3);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 1)), 2);
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.command);
        const HMENU popup = GetSubMenu(bar, entry.menu);
        EXPECT_EQ(menuText(popup, entry.position), entry.text);
        EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(entry.position)), entry.command);
        const UINT state = GetMenuState(popup, entry.position, MF_BYPOSITION);
        EXPECT_EQ((state & MF_SEPARATOR) != 0, entry.command == 0);
        if (entry.command != 0) {
            EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
        }
    }
}

} // namespace
