#include "box_painting.h"

#include "gdi_count.h"

namespace {

HWND openBox = nullptr;
PaintedBox painted;

void CALLBACK paintAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    painted.liveWhenShown = liveGdiObjects();
    for (int paint = 0; paint < 5; ++paint) {
        repaint(openBox);
    }
    painted.liveAfterPainting = liveGdiObjects();
    PostMessageW(openBox, WM_COMMAND, IDOK, 0);
}

} // namespace

void repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void answerAfterPainting(BoxCapture& capture) {
    capture.answer = BoxAnswer::leaveOpen;
    // The hook sees the box become active before its loop has drawn it; a
    // timer of the thread fires inside that loop.
    capture.whileOpen = [](const BoxRecord& box) {
        openBox = box.box;
        SetTimer(nullptr, 0, 20, paintAndClose);
    };
}

PaintedBox lastPaintedBox() {
    return painted;
}
