#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The fields of one FANUC position P[n:"comment"]{ GP1: ... }; as read from
// its text: spans and indices into that text, nothing copied.

// A value written as "label = number unit" (or a run of '*' when the
// controller never taught it).
struct FanucValue {
    bool present = false;
    bool stars = false;
    float value = 0.0f;
    std::size_t at = 0; // the number's first byte (sign included)
    std::size_t length = 0;
};

// The members x y z w p r, in that order.
constexpr int fanucMemberCount = 6;

struct FanucAxis {
    int number = 0; // n of En
    FanucValue value;
};

struct FanucGroup {
    int number = 0; // k of GPk
    FanucValue members[fanucMemberCount];
    bool remoteTcp = false; // written as RX ... RR
    bool joint = false;     // written as J1 ...: joint values, no pose
    bool hasUf = false;
    bool hasUt = false;
    bool hasConfig = false;
    std::string_view uf;
    std::string_view ut;
    std::string_view config;   // between the quotes
    std::size_t firstAxis = 0; // into FanucPosition::axes, sorted by number
    std::size_t axisCount = 0;
    std::size_t firstJoint = 0; // into FanucPosition::joints (J1 ...), sorted by number
    std::size_t jointCount = 0;
};

struct FanucPosition {
    std::string_view number; // the digits of P[n]
    bool hasComment = false;
    std::string_view comment; // between the quotes
    std::vector<FanucGroup> groups;
    std::vector<FanucAxis> axes;   // E1 ... of every group
    std::vector<FanucAxis> joints; // J1 ... of every group in joint representation
};

// Why a position could not be read: where (an index into the text) and what
// was expected there.
struct FanucTrouble {
    std::size_t at = 0;
    std::string message;
};

// Reads the position whose "P" is text[start] and whose "};" ends just before
// text[end]. The vectors of position keep their capacity from call to call.
bool readFanucPosition(std::string_view text, std::size_t start, std::size_t end,
                       FanucPosition& position, FanucTrouble& trouble);
