#pragma once

#include "calibration/point3.h"
#include "math/transform.h"
#include "robotfiles/notations/notations.h"

#include <nlohmann/json.hpp>

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

// The frame as text: KUKA, ABB and FANUC with more decimals than the window
// copies (a calibrated frame is worth its micrometres and ten-thousandths of
// a degree, and the readers take them back), the other notations as
// `convert` writes them. One notation alone is the bare text, ready for
// `rebase --pre`; several are one "name: text" line each.
std::string frameText(const std::vector<const Notation*>& notations, const Transform& frame);

// The frame as JSON, added to the object: "frame" (the 4x4 matrix), "texts"
// (each notation's text), then each notation's members as `list --to` gives
// them.
void addFrameJson(nlohmann::ordered_json& object, const std::vector<const Notation*>& notations,
                  const Transform& frame);
// {"x":..,"y":..,"z":..}
nlohmann::ordered_json pointJson(Point3 point);

// Millimetres and degrees for people: three and four decimals.
std::string mm(double value);
std::string degrees(double value);
