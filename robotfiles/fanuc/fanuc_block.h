#pragma once

#include "robotfiles/pose_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The lines of one FANUC position P[n]{ ... }; kept together until its "};"
// arrives, with where each line starts, so that any byte of it can be placed
// in the file.

// No position of a real export comes near this; a bound keeps memory fixed
// whatever a file holds.
constexpr std::size_t maxFanucBlockBytes = std::size_t{64} << 10;

struct FanucLineStart {
    std::size_t at = 0; // in FanucBlock::text
    std::uint64_t offset = 0;
    std::uint64_t number = 0;
};

struct FanucBlock {
    bool open = false;
    std::string text; // whole lines, line endings included
    std::vector<FanucLineStart> lines;
    std::size_t start = 0; // the "P" of P[n] in text
};

struct FanucPlace {
    std::uint64_t line = 0;
    std::uint64_t column = 0; // 1-based, in bytes
    std::uint64_t offset = 0;
};

// Empties the block and starts it with this line, the position at start;
// false, with the block closed, when the line alone is beyond the bound.
bool openFanucBlock(FanucBlock& block, const SourceLine& line, std::size_t start);
// Adds the next line; false, leaving the block as it was, beyond the bound.
bool appendFanucLine(FanucBlock& block, const SourceLine& line);
void closeFanucBlock(FanucBlock& block);

// Where a byte of the block stands in the file.
FanucPlace fanucPlace(const FanucBlock& block, std::size_t at);
// Its offset alone: the lines of a block are consecutive bytes of the file.
std::uint64_t fanucOffset(const FanucBlock& block, std::size_t at);

// Finds the "};" that ends a position in text from `from` on, outside quotes
// (a quote never reaches past its line); the index just past its ";", or npos.
std::size_t findFanucPositionEnd(std::string_view text, std::size_t from);
