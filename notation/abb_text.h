#pragma once

#include "math/quat_pose.h"

// Reads an ABB RAPID pose, robtarget, wobjdata (as uframe * oframe) or tooldata.
// True when the pattern matched completely; unitLength then tells whether the
// text's quaternion was of unit length.
bool parseAbbText(const wchar_t* text, QuatPose& pose);
// Writes "[[%.2f, %.2f, %.2f], [%.7f, %.7f, %.7f, %.7f]]".
bool formatAbbText(QuatPose pose, wchar_t* buffer, int capacity);
