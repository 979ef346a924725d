#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the whole-file readers find: one plain record a pose, with where it
// stands and the byte range of every number it read, so that listing prints
// the records and rebasing replaces exactly those bytes.

enum class Vendor { kuka, abb, fanuc };
enum class PoseStatus { ok, partial, notUnit, uninitialised };

const char* vendorName(Vendor vendor);     // "kuka", "abb", "fanuc"
const char* statusName(PoseStatus status); // "ok", "partial", "not_unit", "uninitialised"

// The bytes of one number in the file, sign and exponent included.
struct ByteRange {
    std::uint64_t offset = 0;
    std::uint32_t length = 0;
};

// One of the vendor's own members (x y z a b c; x y z q1 q2 q3 q4; x y z w p r).
struct PoseMember {
    std::string key;
    // The number as read, rounded once to float and widened; a member that was
    // computed rather than read (the pose of a wobjdata) holds a double and an
    // empty range.
    double value = 0.0;
    ByteRange text;
};

// Vendor data carried along, its value already written as JSON text:
// 6, "N U T, 0, 0, 0", [1,0,0,0], true.
struct ExtraItem {
    std::string key;
    std::string json;
};

struct PoseRecord {
    Vendor vendor = Vendor::kuka;
    // E6POS, POS, FRAME or aggregate; robtarget, tooldata, wobjdata or pose; P.
    std::string type;
    // Empty for inline values, which have no name.
    std::string name;
    std::string comment; // FANUC P[n:"comment"]
    std::string program; // FANUC /PROG name
    int group = 0;       // FANUC GPn; 0 elsewhere
    bool nested = false; // a KRL pose that is a member of another aggregate
    bool remoteTcp = false;
    // Where the value starts: KUKA's "{", ABB's first "[" of the value or
    // array element, FANUC's "P" of P[n]. Line and column are 1-based, the
    // column counted in bytes; offset is counted from the file's first byte.
    std::uint64_t line = 0;
    std::uint64_t column = 0;
    std::uint64_t offset = 0;
    PoseStatus status = PoseStatus::ok;
    // In the vendor's order; a partial pose holds the members it has.
    std::vector<PoseMember> values;
    std::vector<ExtraItem> extra;
};

struct ScanWarning {
    std::uint64_t line = 0;
    std::uint64_t column = 0;
    std::string message;
};

struct ScanCallbacks {
    std::function<void(const PoseRecord&)> pose;
    std::function<void(const ScanWarning&)> warning;
};

// One line of a file as the line reader hands it over: its bytes with the
// line ending ("\n", "\r\n" or none at the end of the file) included, so that
// consecutive lines are consecutive bytes. A UTF-8 byte order mark is not
// part of the first line: that line's offset is then 3, and its columns count
// from the byte after the mark.
// A line longer than the line reader's limit is not handed over: it arrives
// as overlong, with its line ending only, and a reader abandons whatever
// statement it had open.
struct SourceLine {
    std::string_view text;
    std::uint64_t offset = 0;
    std::uint64_t number = 0;
    bool overlong = false;
};

// The text without its line ending.
std::string_view withoutLineEnd(std::string_view text);
