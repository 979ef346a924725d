// The count of live GDI objects must see the program's own objects: it has
// to rise when the program makes fonts (the window's, the bold one of a held
// slot, the About box's) and must not rise again when the same things
// happen once more, and drawing must make nothing at all. The tests have an
// executable of their own: they need a process that has made no window yet.

#include <gtest/gtest.h>

#include "box_painting.h"
#include "gdi_count.h"
#include "main_window_fixture.h"

namespace {

TEST(GdiCount, WrappersSeeCreationAndDeletion) {
    ASSERT_EQ(liveGdiObjects(), 0u) << "this test must run before any window is made";
    const std::size_t calls = gdiCreatorCalls();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(gdiCreatorCalls(), calls + 1);
    EXPECT_EQ(liveGdiObjects(), 1u);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(liveGdiObjects(), 0u);
}

TEST(GdiCount, RisesWhenTheProgramMakesFontsAndOnlyThen) {
    ASSERT_EQ(liveGdiObjects(), 0u) << "this test must run before any window is made";
    BoxCapture capture;
    HWND window = openMainWindow();
    ASSERT_NE(window, nullptr);
    const std::size_t windowFonts = liveGdiObjects();
    EXPECT_GT(windowFonts, 0u) << "the window's fonts were not counted";

    // The first held slot makes the bold caption font; later presses reuse it.
    sendCommand(window, buttonSlotA);
    EXPECT_EQ(liveGdiObjects(), windowFonts + 1);
    for (int press = 0; press < 5; ++press) {
        sendCommand(window, press % 2 == 0 ? buttonSlotA : buttonSlotB);
    }
    EXPECT_EQ(liveGdiObjects(), windowFonts + 1);

    // Painting answers WM_CTLCOLORSTATIC with a brush: drawn again and
    // again, the window must not make new objects for it.
    for (int paint = 0; paint < 5; ++paint) {
        repaint(window);
    }
    EXPECT_EQ(liveGdiObjects(), windowFonts + 1);

    // The About box's fonts exist while it is open, and are made only once;
    // its colour answers make nothing however often it is drawn.
    answerAfterPainting(capture);
    sendCommand(window, commandAbout);
    ASSERT_EQ(capture.boxes.size(), 1u);
    EXPECT_EQ(capture.boxes[0].caption, L"About");
    EXPECT_EQ(lastPaintedBox().liveWhenShown, windowFonts + 1 + 5);
    EXPECT_EQ(lastPaintedBox().liveAfterPainting, windowFonts + 1 + 5);
    const std::size_t afterFirstAbout = liveGdiObjects();
    for (int opening = 0; opening < 3; ++opening) {
        sendCommand(window, commandAbout);
        EXPECT_EQ(lastPaintedBox().liveWhenShown, afterFirstAbout);
        EXPECT_EQ(lastPaintedBox().liveAfterPainting, afterFirstAbout);
    }
    sendCommand(window, commandHelp);
    EXPECT_EQ(capture.boxes.size(), 5u);
    EXPECT_EQ(liveGdiObjects(), afterFirstAbout);

    // A second window of the process shares the fonts.
    closeMainWindow(window);
    window = openMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(liveGdiObjects(), afterFirstAbout);
    closeMainWindow(window);
}

} // namespace
