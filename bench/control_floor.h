#pragma once

#include <windows.h>

// Sent to control_floor.exe's window: set wParam edit texts (at most 36)
// with SetWindowTextW, each to a text other than the one it shows.
constexpr UINT setTextsMessage = WM_APP + 1;
