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

// What the program uses the pose for, as the statement around it tells:
// - position: a taught position, declared in data or written as a motion's
//   target; rebase moves these.
// - offset: relative to another pose (an operand of KRL's ':', the target
//   of a *_REL motion, a FANUC position used with INC); it moves with the
//   pose it is relative to, never itself.
// - frame: a tool, base, work object or load, a system variable, a pose
//   nested in another aggregate; moved only when asked.
// - assignment: a pose written into a variable by program code; it may or
//   may not be a position, so it is moved only when asked.
// - initialisation: an all-zero pose assigned or declared as a start value
//   in code.
// - joint: axis values, not a Cartesian pose.
// - undecided: a use the reader cannot tell; left alone, with a warning.
enum class PoseRole { position, offset, frame, assignment, initialisation, joint, undecided };
constexpr int poseRoleCount = 7;

const char* vendorName(Vendor vendor);     // "kuka", "abb", "fanuc"
const char* statusName(PoseStatus status); // "ok", "partial", "not_unit", "uninitialised"
const char* roleName(PoseRole role);       // "position", "offset", ..., "undecided"
// The role of that name, or false.
bool roleOfName(std::string_view name, PoseRole& role);

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

// A value of the vendor's data carried along with a pose (KUKA's S and T,
// ABB's robconf, FANUC's CONFIG), as the file holds it: a number, a whole
// number, a word, a truth value, nothing (a FANUC axis never taught) or a
// list of values. Typed, so that each output writes it in its own form.
enum class ExtraKind { number, integer, text, truth, none, list };

struct ExtraValue {
    ExtraKind kind = ExtraKind::none;
    float number = 0.0f;           // number: as read, rounded once to float
    std::string text;              // integer: its decimal digits; text: the word
    bool truth = false;            // truth
    std::vector<ExtraValue> items; // list
};

// Two values are the same when the file holds the same: numbers compare by
// their bits, so that 0 and -0, which a file tells apart, differ.
bool operator==(const ExtraValue& a, const ExtraValue& b);

struct ExtraItem {
    std::string key;
    ExtraValue value;
};

// Setters that keep what a reused value has allocated.
void setExtraNumber(ExtraValue& value, float number);
void setExtraInteger(ExtraValue& value, std::string_view digits); // leading zeros dropped
void setExtraText(ExtraValue& value, std::string_view text);
void setExtraTruth(ExtraValue& value, bool truth);
void setExtraNone(ExtraValue& value);
// Makes value a list of count values, to be set one by one.
std::vector<ExtraValue>& setExtraList(ExtraValue& value, std::size_t count);

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
    PoseRole role = PoseRole::position;
    // In the vendor's order; a partial pose holds the members it has. Empty
    // for joint values, which are in axes.
    std::vector<PoseMember> values;
    // Joint values: a1, a2, ... for the robot's axes (degrees, or mm for a
    // linear axis), e1, e2, ... for external axes, in that order.
    std::vector<PoseMember> axes;
    std::vector<ExtraItem> extra;
};

struct ScanWarning {
    std::uint64_t line = 0;
    std::uint64_t column = 0;
    std::string message;
    // A note on what was read well (a pose whose use is left undecided, a
    // file that holds no program) rather than text that could not be read,
    // which may hide a pose: a rewriter refuses a file only for the latter.
    bool note = false;
};

// One motion of a program, in the order the program runs them: where it
// goes, and the frame it is taught in. A picture joins the positions in this
// order and draws each in its frame.
struct MotionVisit {
    std::uint64_t line = 0;
    // The point by name (KRL XP1, RAPID pHome, FANUC P[3]); empty for a pose
    // written inline, which is then the record that starts at offset.
    std::string target;
    std::uint64_t offset = 0;
    bool auxiliary = false; // a circle's auxiliary point
    // The frame as the program names it: KRL "BASE_DATA[2]" (or "$WORLD"),
    // RAPID the work object ("wobjTable", "wobj0" when none is given), FANUC
    // "UF 1" from UFRAME_NUM; empty where the reader cannot tell.
    std::string frame;
};

struct ScanCallbacks {
    std::function<void(const PoseRecord&)> pose;
    std::function<void(const ScanWarning&)> warning;
    // Only readers asked for them look at the motions.
    std::function<void(const MotionVisit&)> motion;
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
