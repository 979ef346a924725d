#pragma once

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
