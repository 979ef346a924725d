#include "robotfiles/fanuc/fanuc_reader.h"

#include "robotfiles/fanuc/fanuc_record.h"
#include "robotfiles/scan_text.h"

#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t notFound = std::string_view::npos;

void warn(const ScanCallbacks& out, std::uint64_t line, std::uint64_t column, std::string message) {
    if (out.warning) {
        out.warning(ScanWarning{line, column, std::move(message)});
    }
}

// "P[" (blanks allowed between) opens a position.
bool startsPosition(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || text[pos] != 'P') {
        return false;
    }
    pos = skipBlanks(text, pos + 1);
    return pos < text.size() && text[pos] == '[';
}

// "P[n]" of the open position, for messages.
std::string positionName(const FanucBlock& block) {
    const std::string_view text = block.text;
    std::size_t pos = skipBlanks(text, skipBlanks(text, block.start + 1) + 1);
    const std::size_t digits = pos;
    while (pos < text.size() && pos - digits < 12 && isDigitByte(text[pos])) {
        ++pos;
    }
    return pos == digits ? std::string("the position")
                         : "P[" + std::string(text.substr(digits, pos - digits)) + "]";
}

// Closes the open position, which did not end where it should have.
void abandonPosition(FanucReader& reader, std::uint64_t line, std::uint64_t column,
                     const std::string& why, const ScanCallbacks& out) {
    warn(out, line, column, "expected '};' to end " + positionName(reader.block) + why);
    closeFanucBlock(reader.block);
}

std::string tooLong(const std::string& name) {
    return name + " is longer than " + std::to_string(maxFanucBlockBytes >> 10) +
           " KiB: skipped up to its '};'";
}

void skipLongPosition(FanucReader& reader, const ScanCallbacks& out) {
    const FanucPlace place = fanucPlace(reader.block, reader.block.start);
    warn(out, place.line, place.column, tooLong(positionName(reader.block)));
    closeFanucBlock(reader.block);
    reader.skipping = true;
}

// The block holds a whole position, ending just before block.text[end].
void reportPosition(FanucReader& reader, std::size_t end, const ScanCallbacks& out) {
    FanucBlock& block = reader.block;
    if (!readFanucPosition(block.text, block.start, end, reader.position, reader.trouble)) {
        const FanucPlace place = fanucPlace(block, reader.trouble.at);
        warn(out, place.line, place.column, positionName(block) + ": " + reader.trouble.message);
    } else if (out.pose) {
        startFanucRecord(reader.record, reader.position, block, reader.program);
        for (const FanucGroup& group : reader.position.groups) {
            if (fillFanucGroup(reader.record, reader.position, group, block)) {
                out.pose(reader.record);
            }
        }
    }
    closeFanucBlock(block);
}

// A line of /PROG, /ATTR, /MN, /POS, /END and so on.
void readSectionLine(FanucReader& reader, std::string_view text, std::size_t slash) {
    std::size_t end = slash + 1;
    while (end < text.size() && isLetterByte(text[end])) {
        ++end;
    }
    const std::string_view word = text.substr(slash + 1, end - slash - 1);
    reader.inPositions = equalsNoCase(word, "POS");
    reader.skipping = false;
    if (equalsNoCase(word, "PROG")) {
        const std::size_t name = skipBlanks(text, end);
        std::size_t nameEnd = name;
        while (nameEnd < text.size() && !isBlankByte(text[nameEnd])) {
            ++nameEnd;
        }
        reader.program.assign(text.substr(name, nameEnd - name));
    }
}

// A line of /POS whose first byte that is not blank stands at first. Several
// positions may share a line, and a position may end where the next starts.
void readPositionLine(FanucReader& reader, const SourceLine& line, std::size_t first,
                      const ScanCallbacks& out) {
    const std::string_view text = line.text;
    FanucBlock& block = reader.block;
    std::size_t pos = first;
    if (startsPosition(text, first)) {
        if (block.open) {
            abandonPosition(reader, line.number, first + 1, " before the next position", out);
        }
        reader.skipping = false;
    } else if (block.open) {
        const std::size_t from = block.text.size();
        if (!appendFanucLine(block, line)) {
            skipLongPosition(reader, out);
            pos = 0;
        } else {
            const std::size_t end = findFanucPositionEnd(block.text, from);
            if (end == notFound) {
                return;
            }
            reportPosition(reader, end, out);
            pos = end - from;
        }
    }
    for (;;) {
        if (reader.skipping) {
            const std::size_t end = findFanucPositionEnd(text, pos);
            if (end == notFound) {
                return;
            }
            reader.skipping = false;
            pos = end;
        }
        pos = skipBlanks(text, pos);
        if (pos >= text.size()) {
            return;
        }
        if (!startsPosition(text, pos)) {
            warn(out, line.number, pos + 1, "expected 'P[' or '/END'");
            reader.skipping = true;
            continue;
        }
        if (!openFanucBlock(block, line, pos)) {
            warn(out, line.number, pos + 1, tooLong("the position"));
            reader.skipping = true;
            continue;
        }
        const std::size_t end = findFanucPositionEnd(block.text, pos);
        if (end == notFound) {
            return;
        }
        reportPosition(reader, end, out);
        pos = end;
    }
}

} // namespace

void readFanucLine(FanucReader& reader, const SourceLine& line, const ScanCallbacks& out) {
    reader.fedEnd = line.offset + line.text.size();
    reader.lastLine = line.number;
    reader.lastLineColumn = withoutLineEnd(line.text).size() + 1;
    if (line.overlong) {
        // Its bytes are gone: the position it belongs to cannot be read.
        if (reader.block.open) {
            warn(out, line.number, 1,
                 positionName(reader.block) + " abandoned: one of its lines is too long");
            closeFanucBlock(reader.block);
        }
        reader.skipping = reader.inPositions;
        return;
    }
    const std::string_view text = line.text;
    const std::size_t first = skipBlanks(text, 0);
    if (first < text.size() && text[first] == '/') {
        if (reader.block.open) {
            abandonPosition(reader, line.number, first + 1, " before the section's end", out);
        }
        readSectionLine(reader, text, first);
        return;
    }
    if (reader.inPositions) {
        readPositionLine(reader, line, first, out);
    }
}

void finishFanuc(FanucReader& reader, const ScanCallbacks& out) {
    if (reader.block.open) {
        abandonPosition(reader, reader.lastLine, reader.lastLineColumn,
                        " before the end of the file", out);
    }
    reader.skipping = false;
    reader.inPositions = false;
}

std::uint64_t fanucPendingOffset(const FanucReader& reader) {
    if (reader.block.open) {
        return fanucOffset(reader.block, reader.block.start);
    }
    return reader.fedEnd;
}
