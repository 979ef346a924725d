#pragma once

#include <cstddef>

#include <windows.h>

#include "box_capture.h"

// Draws the window and all its controls now, as the system does when it
// uncovers them; every static control asks its parent for its colours.
void repaint(HWND window);

// Answers each box the capture records as a user who looks at it: once the
// box's modal loop runs and has shown it, it is drawn five times more and
// then closed with IDOK. The live GDI objects are counted before and after
// the drawing.
void answerAfterPainting(BoxCapture& capture);

struct PaintedBox {
    std::size_t liveWhenShown = 0;
    std::size_t liveAfterPainting = 0;
};

// The counts of the last box answered that way.
PaintedBox lastPaintedBox();
