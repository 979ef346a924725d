#pragma once

#include "robotfiles/pose_record.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

// Lines longer than this are not read: no robot program writes one, and the
// bound keeps memory independent of what a file holds.
constexpr std::size_t maxLineBytes = std::size_t{1} << 20;

struct LineReadResult {
    bool ok = true;
    std::string error; // why reading stopped, when it did
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;
    std::uint64_t overlongLines = 0;
};

// Reads a stream in blocks and hands over each line in order (see
// SourceLine). Memory stays within a block and the longest line.
LineReadResult forEachLine(std::FILE* file, const std::function<void(const SourceLine&)>& onLine);
