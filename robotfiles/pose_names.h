#pragma once

#include "robotfiles/pose_record.h"

#include <string>
#include <string_view>

// How poses are named and found by name, as the robot languages compare
// names: letters without regard to case
// (KRL and RAPID do not tell them apart; FANUC's P[n] has none).

// A glob of * and ?.
bool matchesPattern(std::string_view pattern, std::string_view name);

// Natural order: runs of digits compared by their value, so that P2 comes
// before P10; letters without regard to case.
bool naturalNameLess(std::string_view a, std::string_view b);

// The name a pose is referred to by: its name, and for a FANUC pose of a
// group other than 1 "P[n] GPk".
std::string shownName(const PoseRecord& pose);

// How a pose is found by name: letters without regard to case, as KRL and
// RAPID compare names, blanks run together; a FANUC pose of a group other
// than 1 as "P[n] GPk".
std::string poseKey(const PoseRecord& pose);
std::string nameKey(const std::string& name);
