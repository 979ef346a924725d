#include <vector>

#include <gtest/gtest.h>

#include "main_window_fixture.h"

namespace {

// Keys reach the program as the keyboard delivers them: posted to the
// control with the focus and taken from the queue by the program's own
// message loop, which translates accelerators before dialog keys.
class Keyboard : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        accelerators = loadProgramAccelerators();
        ASSERT_NE(accelerators, nullptr);
    }

    void pressKey(UINT key) {
        postKeyToFocus(GetCurrentThreadId(), key);
        runProgramLoopUntilIdle(window, accelerators);
    }

    HACCEL accelerators = nullptr;
};

TEST_F(Keyboard, F1OpensHelpWhereverTheFocusIs) {
    // A number field, a button, the text line and the window itself.
    const int focusTargets[] = {701, 725, buttonImportKuka, buttonSlotA, textLine, 0};
    for (int id : focusTargets) {
        SCOPED_TRACE(id);
        HWND focus = id != 0 ? GetDlgItem(window, id) : window;
        SetFocus(focus);
        ASSERT_EQ(GetFocus(), focus);
        capture.boxes.clear();
        const std::vector<std::wstring> before = visibleTexts(window);

        pressKey(VK_F1);

        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_EQ(capture.boxes[0].caption, L"Help");
        EXPECT_EQ(capture.boxes[0].owner, window);
        // The key went to the accelerator only, not into the field.
        EXPECT_EQ(visibleTexts(window), before);
    }
}

TEST_F(Keyboard, TabVisitsFieldsAndButtonsInCreationOrderAndWraps) {
    const int order[] = {
        707, 708, 709, 710, 711, 712, 713,                          // ABB
        701, 702, 703, 704, 705, 706,                               // KUKA
        730, 731, 732, 733, 734, 735,                               // FANUC
        714, 718, 722, 715, 719, 723, 716, 720, 724, 717, 721,      // matrix by columns,
        725, 726, 727, 728, 729,                                    // then the bottom row
        802, 801, 811, 803, 804, 805, 806, 807, 808, 810, 809, 812, // buttons
        707,                                                        // and round again
    };
    SetFocus(GetDlgItem(window, order[0]));
    for (std::size_t step = 1; step < std::size(order); ++step) {
        SCOPED_TRACE(order[step - 1]);
        pressKey(VK_TAB);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), order[step]);
    }
    EXPECT_TRUE(capture.boxes.empty());
}

} // namespace
