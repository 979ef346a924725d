#pragma once

#include "robotfiles/pose_record.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>

// The one JSON writer of the command line. Objects that are not on a hot
// path (frame, fit, tool, diff) are built as nlohmann-json values and
// written by jsonText; the streamed writers (list, plot's page) append their
// records by hand with the same functions, so that every number and every
// string looks the same in every output.

// The shortest decimal that reads back to the value: a value that is
// exactly a float (every number the readers read went through one, and a
// length a conversion leaves alone stays one) as its float's shortest
// decimal, the text the file held (1196.92444, not 1196.9244384765625); any
// other value, computed, with every digit its double needs. A computed value
// that happens to be exactly a float is written within half a float's step.
std::string decimalText(double value);

// JSON has no infinity or not-a-number: such a value is written as null.
// Numbers as decimalText writes them.
void appendJsonNumber(std::string& out, double value);
// A number read from a file: the shortest decimal that reads back to its float.
void appendJsonFloat(std::string& out, float value);
void appendJsonUnsigned(std::string& out, std::uint64_t value);
void appendJsonString(std::string& out, std::string_view bytes);
// A vendor's extra value: numbers, whole numbers, words, truth values,
// null and lists of them.
void appendJsonExtra(std::string& out, const ExtraValue& value);

// A whole value, compact, keys in the order they were set.
std::string jsonText(const nlohmann::ordered_json& value);
