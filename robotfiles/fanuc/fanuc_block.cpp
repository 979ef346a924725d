#include "robotfiles/fanuc/fanuc_block.h"

#include <algorithm>
#include <cstring>

namespace {

std::size_t skipSpacesOnLine(std::string_view text, std::size_t pos) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r')) {
        ++pos;
    }
    return pos;
}

} // namespace

bool openFanucBlock(FanucBlock& block, const SourceLine& line, std::size_t start) {
    closeFanucBlock(block);
    block.start = start;
    block.open = appendFanucLine(block, line);
    return block.open;
}

bool appendFanucLine(FanucBlock& block, const SourceLine& line) {
    if (line.text.size() > maxFanucBlockBytes - block.text.size()) {
        return false;
    }
    block.lines.push_back(FanucLineStart{block.text.size(), line.offset, line.number});
    block.text.append(line.text);
    return true;
}

void closeFanucBlock(FanucBlock& block) {
    block.open = false;
    block.text.clear();
    block.lines.clear();
    block.start = 0;
}

std::uint64_t fanucOffset(const FanucBlock& block, std::size_t at) {
    return block.lines.empty() ? 0 : block.lines.front().offset + at;
}

FanucPlace fanucPlace(const FanucBlock& block, std::size_t at) {
    FanucPlace place;
    if (block.lines.empty()) {
        return place;
    }
    const auto after =
        std::upper_bound(block.lines.begin(), block.lines.end(), at,
                         [](std::size_t value, const FanucLineStart& s) { return value < s.at; });
    const FanucLineStart& line = after == block.lines.begin() ? block.lines.front() : *(after - 1);
    const std::size_t within = at >= line.at ? at - line.at : 0;
    place.line = line.number;
    place.column = within + 1;
    place.offset = line.offset + within;
    return place;
}

std::size_t findFanucPositionEnd(std::string_view text, std::size_t from) {
    // Most lines of a position hold no '}' at all: those need no closer look.
    if (from >= text.size() ||
        std::memchr(text.data() + from, '}', text.size() - from) == nullptr) {
        return std::string_view::npos;
    }
    char quote = '\0';
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            quote = '\0';
        } else if (quote != '\0') {
            quote = c == quote ? '\0' : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '}') {
            const std::size_t next = skipSpacesOnLine(text, i + 1);
            if (next < text.size() && text[next] == ';') {
                return next + 1;
            }
        }
    }
    return std::string_view::npos;
}
