#pragma once

#include "robotfiles/pose_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// How the motions of the KRL programs read use the variables they name: as
// a motion's target (PTP XP1, LIN lfWorkPos[2]:{...}) or as the target of a
// relative motion (LIN_REL RelFrame), which makes the variable an offset. A
// declaration in a .dat gets its role from this, since the statements that
// use a point stand in the .src beside it.
struct KrlUsage {
    enum : std::uint8_t { target = 1, relative = 2 };
    std::unordered_map<std::string, std::uint8_t> uses; // by krlNameKey
    std::uint8_t of(std::string_view name) const;
};

// Notes the uses of one line of a KRL program.
void noteKrlUsage(KrlUsage& usage, const SourceLine& line);

// Whether the file's uses are worth noting: code (.src, .sub), not data.
bool isKrlCodeFile(std::string_view fileName);
