#pragma once

#include "robotfiles/program_model.h"

#include <string>

// A KRL pose aggregate of a point, without S and T:
// {X 500,Y 0,Z 600,A 0,B 90,C 0}. Values written with Euler angles print
// every digit of the float read; a quaternion's pose is converted through
// its matrix and printed as the shortest decimal of the converted float.
std::string krlPoseText(const PoseValues& pose);

// The same pose in the forms the command line prints. Window: the
// calculator's copy format, two decimals, as the window puts it on the
// clipboard. Fine: three decimals of millimetres, four of degrees, the
// precision a calibrated frame is worth, in a form the readers take back.
std::string krlWindowText(const Transform& pose);
std::string krlFineText(const Transform& pose);
