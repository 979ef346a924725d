#pragma once

#include <string>

#include <gtest/gtest.h>

#include "box_capture.h"
#include "window_harness.h"

// Each test gets a fresh main window of its own and a capture that records
// and answers every box the window opens.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = openMainWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        closeMainWindow(window);
        EXPECT_EQ(capture.forcedCloses(), 0) << "a box did not close when answered as a user would";
    }

    HWND window = nullptr;
    BoxCapture capture;
};

// One message box with the program's caption, the main window as owner (or
// none), the given message and icon.
inline ::testing::AssertionResult isMessageBox(const BoxRecord& box, HWND owner,
                                               const std::wstring& text, BoxIcon icon) {
    if (box.caption == L"PoseBridge" && box.owner == owner && box.text == text &&
        box.icon == icon) {
        return ::testing::AssertionSuccess();
    }
    std::string shown(box.text.begin(), box.text.end());
    std::string caption(box.caption.begin(), box.caption.end());
    return ::testing::AssertionFailure()
           << "box \"" << shown << "\" captioned \"" << caption << "\", icon "
           << boxIconName(box.icon) << (box.owner == owner ? "" : ", other owner")
           << "; expected \"" << std::string(text.begin(), text.end()) << "\", icon "
           << boxIconName(icon);
}
