#pragma once

#include "math/transform.h"
#include "robotfiles/pose_record.h"

// The rigid transformation of a pose that a reader found, from the vendor's
// own members: KUKA's A, B, C and FANUC's W, P, R through the core's Euler
// convention, ABB's quaternion normalised as the window does. False for any
// pose whose status is not ok, or that lacks a member.
bool transformOfRecord(const PoseRecord& pose, Transform& m);
