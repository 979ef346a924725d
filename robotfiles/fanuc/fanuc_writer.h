#pragma once

#include "math/transform.h"
#include "robotfiles/pose_rewrite.h"
#include "robotfiles/program_model.h"

#include <string>

// A number as a FANUC listing writes it: three decimals, no leading zero
// before the point (".500", "-.604"), no sign on a value that rounds to zero.
std::string fanucDecimal(double value);

// The two member lines of a Cartesian group, each ending with a line end:
// "\tX =   500.000  mm,\tY = ... mm,\tZ = ... mm,\n\tW = ... deg,\t... deg\n"
// (numbers right-aligned in nine columns). Euler angles read are used as
// read; a quaternion's pose is converted through its matrix.
std::string fanucMembersText(const PoseValues& pose, std::string_view lineEnd);

// The same pose in the forms the command line prints. Window: the
// calculator's copy format, two decimals, as the window puts it on the
// clipboard. Fine: three decimals of millimetres, four of degrees, the
// precision a calibrated frame is worth, in a form the readers take back.
// The window's form is the listing's two lines; the fine form stands on one
// line.
std::string fanucWindowText(const Transform& pose);
std::string fanucFineText(const Transform& pose);

// The new number of a member inside a listing that rebase rewrites: the
// listing's layout (three decimals, right-aligned after "=", the column
// kept where it fits, no leading zero where the old number had none).
bool fanucNumberReplacement(const PoseMember& member, double value, const ByteWindow& window,
                            Replacement& replacement);
