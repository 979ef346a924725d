#pragma once

#include <string_view>

// Names as the robot languages compare them: letters without regard to case
// (KRL and RAPID do not tell them apart; FANUC's P[n] has none).

// A glob of * and ?.
bool matchesPattern(std::string_view pattern, std::string_view name);

// Natural order: runs of digits compared by their value, so that P2 comes
// before P10; letters without regard to case.
bool naturalNameLess(std::string_view a, std::string_view b);
