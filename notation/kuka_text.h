#pragma once

#include "math/euler_pose.h"

// Reads a KUKA FRAME, POS or E6POS aggregate. True when at least one of X, Y,
// Z, A, B, C was read; absent members keep the caller's values.
bool parseKukaText(const wchar_t* text, EulerPose& pose);
// Writes "{X %.2f, Y %.2f, Z %.2f, A %.2f, B %.2f, C %.2f}".
bool formatKukaText(EulerPose pose, wchar_t* buffer, int capacity);
