#pragma once

#include "robotfiles/pose_record.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

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

// Calls visit(line) for each line of a text, as the line reader hands them
// over (line endings kept, overlong lines cut to their ending).
template <typename Visit>
void forEachTextLine(std::string_view text, Visit visit) {
    std::uint64_t offset = 0;
    std::uint64_t number = 1;
    while (offset < text.size()) {
        std::size_t end = text.find('\n', offset);
        end = end == std::string_view::npos ? text.size() : end + 1;
        SourceLine line;
        line.text = text.substr(offset, end - offset);
        line.offset = offset;
        line.number = number++;
        line.overlong = line.text.size() > maxLineBytes;
        if (line.overlong) {
            line.text = line.text.substr(withoutLineEnd(line.text).size());
        }
        visit(line);
        offset = end;
    }
}
