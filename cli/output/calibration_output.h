#pragma once

#include "cli/inputs/taught_points.h"
#include "math/transform.h"
#include "robotfiles/notations/notations.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What frame, fit and tool print: the frame in the chosen notations and, for
// --format json, one object that holds everything.

// The notations of --to, or the vendor's own form for the frame (KUKA
// BASE_DATA and TOOL_DATA, an ABB uframe or tframe, a FANUC UFRAME or
// UTOOL), or all three where the points tell no vendor.
std::vector<const Notation*> frameNotations(const std::vector<std::string>& names,
                                            std::optional<Vendor> vendor);

// The vendor the points came from: the first that tells one.
std::optional<Vendor> vendorOfPoints(const std::vector<TaughtPose>& points);

// The frame as text: KUKA, ABB and FANUC with more decimals than the window
// copies (a calibrated frame is worth its micrometres and ten-thousandths of
// a degree, and the readers take them back), the other notations as
// `convert` writes them. One notation alone is the bare text, ready for
// `rebase --pre`; several are one "name: text" line each.
std::string frameText(const std::vector<const Notation*>& notations, const Transform& frame);

// A small JSON writer: members and elements get their commas by themselves.
struct JsonText {
    std::string text;
    std::vector<bool> first;
};
void jsonOpen(JsonText& json, char bracket);  // '{' or '['
void jsonClose(JsonText& json, char bracket); // '}' or ']'
void jsonKey(JsonText& json, std::string_view key);
void jsonItem(JsonText& json); // before an array element
void jsonNumber(JsonText& json, double value);
void jsonString(JsonText& json, std::string_view value);
void jsonBool(JsonText& json, bool value);

// "frame": the 4x4 matrix, then each notation's text and members.
void jsonFrame(JsonText& json, const std::vector<const Notation*>& notations,
               const Transform& frame);
// {"x":..,"y":..,"z":..}
void jsonPoint(JsonText& json, Point3 point);

// Millimetres and degrees for people: three and four decimals.
std::string mm(double value);
std::string degrees(double value);
