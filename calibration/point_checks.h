#pragma once

#include "calibration/point3.h"

#include <span>
#include <string>

// The refusals every method shares, each with a message that names the
// points: a value that is not finite, two points taught on one spot, points
// that all lie on one line. `side` says which set the points are ("nominal "),
// or is empty. True when the points pass; otherwise the message says why.
bool checkFinite(std::span<const Point3> points, std::span<const std::string> names,
                 const char* side, std::string& refusal);
bool checkDistinct(std::span<const Point3> points, std::span<const std::string> names,
                   const char* side, std::string& refusal);
bool checkNotOnOneLine(std::span<const Point3> points, std::span<const std::string> names,
                       const char* side, std::string& refusal);

// A value for a message with this many decimals, the same in every locale.
std::string decimalText(double value, int decimals);

// "P1, P2 and P3": names for a message.
std::string nameList(std::span<const std::string> names);
