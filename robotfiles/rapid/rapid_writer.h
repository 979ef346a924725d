#pragma once

#include "robotfiles/program_model.h"

#include <string>

// A RAPID robtarget value of a point, with the controller-chooses
// configuration [0,0,0,0] and no external axes (9E9):
// [[500,0,600],[0,0,1,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]]. A quaternion
// read prints every digit read; Euler angles are converted through the
// matrix and printed as the shortest decimal of the converted float.
std::string rapidRobtargetText(const PoseValues& pose);

// The same pose in the forms the command line prints. Window: the
// calculator's copy format, two decimals, as the window puts it on the
// clipboard. Fine: three decimals of millimetres, four of degrees, eight of a quaternion, the
// precision a calibrated frame is worth, in a form the readers take back.
std::string rapidWindowText(const Transform& pose);
std::string rapidFineText(const Transform& pose);
