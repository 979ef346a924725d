#pragma once

#include "math/euler_pose.h"

// Reads a FANUC position listing, anchored at its first upper-case "X". True
// when at least one of X, Y, Z, W, P, R was read; absent members keep the
// caller's values.
bool parseFanucText(const wchar_t* text, EulerPose& pose);
// Writes the two-line listing "  X =% 9.3f  mm, ..." with line feeds.
bool formatFanucText(EulerPose pose, wchar_t* buffer, int capacity);
