#include <cwchar>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "box_capture.h"
#include "window_harness.h"

namespace {

// The first control of this class that the main window makes is refused, as
// an exhausted system would refuse it; the message boxes' own controls are
// made.
const wchar_t* refusedClass = nullptr;
bool refused = false;

LRESULT CALLBACK refuseControls(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        wchar_t parentClass[32] = {};
        if (create.hwndParent != nullptr) {
            GetClassNameW(create.hwndParent, parentClass, 32);
        }
        if (!refused && !IS_INTRESOURCE(create.lpszClass) &&
            _wcsicmp(create.lpszClass, refusedClass) == 0 &&
            std::wcscmp(parentClass, L"PoseBridge") == 0) {
            refused = true;
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct ControlFailureCase {
    const wchar_t* className;
    const wchar_t* report; // what the user is told first
};

const ControlFailureCase controlFailureCases[] = {
    {L"Static", L"Fatal error: 0x8003"},
    {L"Edit", L"Fatal error: 0x8004"},
    {L"Button", L"Fatal error: 0x8005"},
};

// The user is told the kind of the control, then that the controls could not
// all be made; the window that could not be finished is gone and is not
// reported again.
TEST(WindowFailures, AControlThatCannotBeMadeIsReportedByItsKindThenTheWindowIsGone) {
    for (const ControlFailureCase& failure : controlFailureCases) {
        SCOPED_TRACE(std::string(failure.report, failure.report + std::wcslen(failure.report)));
        refusedClass = failure.className;
        refused = false;
        HWND window = nullptr;
        std::vector<std::wstring> reports;
        {
            BoxCapture capture;
            const HHOOK hook =
                SetWindowsHookExW(WH_CBT, refuseControls, nullptr, GetCurrentThreadId());
            window = openMainWindow();
            UnhookWindowsHookEx(hook);
            for (const BoxRecord& box : capture.boxes) {
                reports.push_back(box.text);
            }
        }
        closeMainWindow(window);

        EXPECT_EQ(window, nullptr);
        EXPECT_EQ(reports, (std::vector<std::wstring>{failure.report, L"Fatal error: 0x8006"}));
    }
}

} // namespace
