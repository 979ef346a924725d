#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace {

using Operations = MainWindowTest;

void importKukaPose(HWND window, const std::vector<ItemText>& typed) {
    setItemTexts(window, typed);
    sendCommand(window, buttonImportKuka);
}

const std::vector<ItemText> samplePose = {{701, L"100.5"}, {702, L"-20.25"}, {703, L"300"},
                                          {704, L"30"},    {705, L"-45"},    {706, L"60"}};

// Every field shows the identity up to rounding ("-0.00" is as good as
// "0.00" after a product of a pose and its inverse).
void expectIdentityShown(HWND window) {
    for (const ItemText& field : startFieldTexts()) {
        SCOPED_TRACE(field.id);
        double shown = 0.0;
        double expected = 0.0;
        ASSERT_TRUE(parseNumber(itemText(window, field.id), shown));
        ASSERT_TRUE(parseNumber(field.text, expected));
        EXPECT_NEAR(shown, expected, 1e-6);
    }
}

struct SlotButton {
    int id;
    const wchar_t* saveCaption;
    const wchar_t* clearCaption;
};

const SlotButton slotButtons[] = {{buttonSlotA, L"Save A", L"Clear A"},
                                  {buttonSlotB, L"Save B", L"Clear B"}};

TEST_F(Operations, SlotButtonsToggleCaptionAndWeightWithoutRefreshingTheFields) {
    for (const SlotButton& slot : slotButtons) {
        SCOPED_TRACE(slot.id);
        setItemTexts(window, {{701, L"typed, not imported"}, {textLine, L"a note"}});
        const std::vector<std::wstring> before = visibleTexts(window);

        sendCommand(window, slot.id);
        EXPECT_EQ(itemText(window, slot.id), slot.clearCaption);
        EXPECT_EQ(itemFontWeight(window, slot.id), 700);
        // The bold font is the buttons' own font made bold.
        const LOGFONTW held = itemFont(window, slot.id);
        const LOGFONTW plain = itemFont(window, buttonInvert);
        EXPECT_EQ(held.lfHeight, 14);
        EXPECT_EQ(held.lfHeight, plain.lfHeight);
        EXPECT_STREQ(held.lfFaceName, plain.lfFaceName);
        EXPECT_EQ(held.lfItalic, 0);
        EXPECT_EQ(held.lfUnderline, 0);
        // Only the caption changed: the typed texts and the note stay.
        std::vector<std::wstring> after = visibleTexts(window);
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (i != static_cast<std::size_t>(36 + slot.id - 801)) {
                EXPECT_EQ(after[i], before[i]) << i;
            }
        }

        sendCommand(window, slot.id);
        EXPECT_EQ(itemText(window, slot.id), slot.saveCaption);
        EXPECT_EQ(itemFontWeight(window, slot.id), 400);
        EXPECT_EQ(visibleTexts(window), before);
    }
    EXPECT_TRUE(capture.boxes.empty());
}

TEST_F(Operations, MultiplyWithBothSlotsEmptyGivesTheIdentity) {
    importKukaPose(window, samplePose);
    setItemText(window, textLine, L"a note");
    sendCommand(window, buttonMultiply);
    for (const ItemText& field : startFieldTexts()) {
        SCOPED_TRACE(field.id);
        EXPECT_EQ(itemText(window, field.id), field.text);
    }
    EXPECT_EQ(itemText(window, textLine), L"");
    EXPECT_TRUE(capture.boxes.empty());
}

TEST_F(Operations, APoseTimesItsInverseIsTheIdentity) {
    importKukaPose(window, samplePose);
    sendCommand(window, buttonSlotA);
    sendCommand(window, buttonInvert);
    sendCommand(window, buttonSlotB);
    sendCommand(window, buttonMultiply);
    expectIdentityShown(window);
    EXPECT_TRUE(capture.boxes.empty());
}

TEST_F(Operations, SlotsKeepTheCurrentPoseNotTheTypedNumbersAndMultiplyAThenB) {
    // A = translation 10 along X, B = 90 degrees about Z; A : B is the
    // rotation placed at X 10, B : A would place it at Y 10.
    importKukaPose(window, {{701, L"10"}});
    setItemText(window, 701, L"99");
    sendCommand(window, buttonSlotA);
    EXPECT_EQ(itemText(window, 701), L"99");
    importKukaPose(window, {{701, L"0"}, {704, L"90"}});
    sendCommand(window, buttonSlotB);
    importKukaPose(window, {{704, L"0"}, {703, L"55"}});

    sendCommand(window, buttonMultiply);
    EXPECT_EQ(itemText(window, 701), L"10.00");
    EXPECT_EQ(itemText(window, 702), L"0.00");
    EXPECT_EQ(itemText(window, 703), L"0.00");
    EXPECT_EQ(itemText(window, 704), L"90.00");
}

TEST_F(Operations, InvertShowsTheInversePose) {
    importKukaPose(window, samplePose);
    setItemText(window, textLine, L"a note");
    sendCommand(window, buttonInvert);
    // R^T and -R^T t of the sample pose, worked out independently.
    const struct {
        int id;
        double value;
    } expected[] = {{701, -266.516}, {702, -102.720}, {703, -137.579},
                    {704, -51.877},  {705, -7.286},   {706, -69.119}};
    for (const auto& field : expected) {
        SCOPED_TRACE(field.id);
        double shown = 0.0;
        ASSERT_TRUE(parseNumber(itemText(window, field.id), shown));
        EXPECT_NEAR(shown, field.value, 0.006);
    }
    EXPECT_EQ(itemText(window, textLine), L"");

    sendCommand(window, buttonInvert);
    EXPECT_EQ(itemText(window, 701), L"100.50");
    EXPECT_EQ(itemText(window, 704), L"30.00");
    EXPECT_TRUE(capture.boxes.empty());
}

TEST_F(Operations, AProductThatIsNoLongerRigidIsACalculationError) {
    const struct {
        const char* name;
        int importButton;
        std::vector<ItemText> typed;
        int checkedField; // after Invert, the unchanged state shows here
        double inverseValue;
        double tolerance;
    } cases[] = {
        // 3e38 fits a float; twice it does not.
        {"beyond single precision", buttonImportKuka, {{701, L"3e38"}}, 701, -3e38, 1e32},
        // A block scaled by 1.0009 still passes as a rotation; its square,
        // scaled by 1.0018, no longer does.
        {"scaled rotation",
         buttonImportMatrix,
         {{714, L"1.0009"}, {719, L"1.0009"}, {724, L"1.0009"}},
         714,
         1 / 1.0009,
         1e-6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sendCommand(window, commandReset);
        setItemTexts(window, c.typed);
        sendCommand(window, c.importButton);
        sendCommand(window, buttonSlotA);
        sendCommand(window, buttonSlotB);
        setItemText(window, textLine, L"a note");
        const std::vector<std::wstring> before = visibleTexts(window);
        capture.boxes.clear();

        sendCommand(window, buttonMultiply);

        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_TRUE(isMessageBox(capture.boxes[0], window, L"Calculation error", BoxIcon::warning));
        EXPECT_EQ(visibleTexts(window), before);
        // The state is unchanged: it still inverts to the imported pose's inverse.
        sendCommand(window, buttonInvert);
        double shown = 0.0;
        ASSERT_TRUE(parseNumber(itemText(window, c.checkedField), shown));
        EXPECT_NEAR(shown, c.inverseValue, c.tolerance);
    }
}

TEST_F(Operations, ResetRestoresTheStartValuesAndEmptiesBothSlots) {
    importKukaPose(window, samplePose);
    sendCommand(window, buttonSlotA);
    sendCommand(window, buttonInvert);
    sendCommand(window, buttonSlotB);
    setItemTexts(window, {{702, L"typed"}, {textLine, L"a note"}});

    sendCommand(window, commandReset);

    for (const ItemText& field : startFieldTexts()) {
        SCOPED_TRACE(field.id);
        EXPECT_EQ(itemText(window, field.id), field.text);
    }
    EXPECT_EQ(itemText(window, textLine), L"");
    for (const SlotButton& slot : slotButtons) {
        SCOPED_TRACE(slot.id);
        EXPECT_EQ(itemText(window, slot.id), slot.saveCaption);
        EXPECT_EQ(itemFontWeight(window, slot.id), 400);
    }
    // The slots hold the identity again, not only their captions.
    importKukaPose(window, samplePose);
    sendCommand(window, buttonMultiply);
    EXPECT_EQ(itemText(window, 701), L"0.00");
    EXPECT_EQ(itemText(window, 704), L"0.00");
    EXPECT_TRUE(capture.boxes.empty());
}

} // namespace
