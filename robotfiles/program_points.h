#pragma once

#include "robotfiles/pose_record.h"
#include "robotfiles/program_model.h"

// A point of the program model from a pose the file readers found, so that
// a translation reads every pose exactly as `list` does: the vendor's
// members as read, the status, the configuration as written (kept in a
// comment, never carried over) and whether external axes come with it.
//
// External axes: KRL writes E1 ... E6 into every E6POS, 0 for an axis the
// robot does not have, and ABB 9E9 for an axis that is not there; only a
// value besides those counts. A FANUC pose counts its E1 ... and any group
// besides GP1 (the caller says so with otherGroups).
void pointFromRecord(const PoseRecord& record, Point& point, bool otherGroups = false);
