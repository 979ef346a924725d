#pragma once

#include "math/transform.h"
#include "robotfiles/pose_record.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// Every pose notation the command line reads and writes, in one table: its
// name, members, units and text form, and its reader and writer. --help, the
// README and the code all take them from here.

// What a reader may carry from its text to the same notation's writer
// (Mitsubishi's flags group "(7,0)"); empty for every other notation.
struct NotationText {
    std::string carried;
};

struct Notation {
    const char* name;     // "ur": the word of --to and --from
    const char* brand;    // "Universal Robots"
    const char* members;  // "x y z rx ry rz": the JSON keys and CSV columns, in order
    const char* units;    // "m, rad"
    const char* form;     // "p[x, y, z, rx, ry, rz]"
    const char* rotation; // "rotation vector, axis times angle"
    // True when a text of this form cannot be mistaken for another notation's
    // (p[, TRANS(, posx(, C00000=, <origin, position:; KUKA, ABB, FANUC).
    bool unambiguous;
    // Whether the text looks like this notation's at all, before reading it.
    bool (*recognizes)(std::string_view text);
    // Reads one pose; false with a message naming what was expected.
    bool (*read)(std::string_view text, Transform& pose, NotationText& carried,
                 std::string& message);
    // Writes the pose as the notation's text, with the carried text where the
    // notation has any.
    std::string (*write)(const Transform& pose, const NotationText& carried);
    // The members' values in the order of `members` (a matrix: 16 values).
    int memberCount;
    void (*values)(const Transform& pose, double* out);
    // KUKA, ABB and FANUC also have a finer form than the window's: three
    // decimals of millimetres, four of degrees, eight of a quaternion (what a
    // calibrated frame is worth). Null where the notation has one form.
    std::string (*writeFine)(const Transform& pose) = nullptr;
};

std::span<const Notation> allNotations();
const Notation* findNotation(std::string_view name);

// The robot maker whose programs write poses in this notation (kuka, abb,
// fanuc); none for the others.
std::optional<Vendor> vendorOfNotation(const Notation* notation);
