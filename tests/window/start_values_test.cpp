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

} // namespace
