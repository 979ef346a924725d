#pragma once

#include "robotfiles/program_model.h"

#include <string>

// A RAPID robtarget value of a point, with the controller-chooses
// configuration [0,0,0,0] and no external axes (9E9):
// [[500,0,600],[0,0,1,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]]. A quaternion
// read prints every digit read; Euler angles are converted through the
// matrix and printed as the shortest decimal of the converted float.
std::string rapidRobtargetText(const PoseValues& pose);
