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

std::string_view withoutLeadingZeros(std::string_view digits) {
    while (digits.size() > 1 && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    return digits;
}

// A line of /MN: "n:J P[3] 100% FINE ;", "n:L P[4:"A"] 500mm/sec CNT50 INC ;"
// or the second line of a circle, ": P[6] ...". Notes the positions a motion
// uses, and whether INC makes them offsets.
void readMotionLine(FanucReader& reader, std::string_view text, std::uint64_t lineNumber,
                    const ScanCallbacks& out) {
    std::size_t pos = skipBlanks(text, 0);
    while (pos < text.size() && isDigitByte(text[pos])) {
        ++pos;
    }
    pos = skipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != ':') {
        return;
    }
    pos = skipBlanks(text, pos + 1);
    if (text.substr(pos, 11) == "UFRAME_NUM=") {
        std::size_t end = pos + 11;
        while (end < text.size() && isDigitByte(text[end]) && end - pos < 20) {
            ++end;
        }
        reader.userFrame = end > pos + 11
                               ? "UF " + std::string(text.substr(pos + 11, end - pos - 11))
                               : std::string();
        return;
    }
    const char instruction = pos < text.size() ? text[pos] : '\0';
    const bool continuation = instruction == 'P' && pos + 1 < text.size() && text[pos + 1] == '[';
    const bool motion =
        (instruction == 'J' || instruction == 'L' || instruction == 'C' || instruction == 'A') &&
        pos + 1 < text.size() && isBlankByte(text[pos + 1]);
    if (!motion && !continuation) {
        return;
    }
    // INC stands among the options after the speed and termination.
    bool relative = false;
    for (std::size_t at = text.find("INC"); at != std::string_view::npos;
         at = text.find("INC", at + 3)) {
        const bool before = at == 0 || isBlankByte(text[at - 1]);
        const bool after =
            at + 3 >= text.size() || isBlankByte(text[at + 3]) || text[at + 3] == ';';
        relative = relative || (before && after);
    }
    for (std::size_t at = text.find("P[", pos); at != std::string_view::npos;
         at = text.find("P[", at + 2)) {
        if (at > 0 && isLetterByte(text[at - 1])) {
            continue; // PR[, a register
        }
        std::size_t end = skipBlanks(text, at + 2);
        const std::size_t digits = end;
        while (end < text.size() && isDigitByte(text[end]) && end - digits < 12) {
            ++end;
        }
        if (end > digits) {
            const std::string number(withoutLeadingZeros(text.substr(digits, end - digits)));
            reader.uses[number] |= relative ? FanucReader::relative : FanucReader::target;
            if (out.motion && !relative) {
                MotionVisit visit;
                visit.line = lineNumber;
                visit.target = "P[" + number + "]";
                visit.frame = reader.userFrame;
                visit.auxiliary = instruction == 'C' && !continuation;
                out.motion(visit);
            }
        }
    }
}

// A Cartesian group's role from how the motions use its position.
PoseRole positionRole(const FanucReader& reader, const FanucPosition& position,
                      const FanucGroup& group) {
    if (group.remoteTcp) {
        return PoseRole::frame;
    }
    const auto found = reader.uses.find(std::string(withoutLeadingZeros(position.number)));
    const std::uint8_t use = found == reader.uses.end() ? 0 : found->second;
    if ((use & FanucReader::relative) != 0) {
        return (use & FanucReader::target) != 0 ? PoseRole::undecided : PoseRole::offset;
    }
    return PoseRole::position;
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
                if (!group.joint) {
                    reader.record.role = positionRole(reader, reader.position, group);
                }
                if (reader.record.role == PoseRole::undecided && out.warning) {
                    out.warning(ScanWarning{
                        reader.record.line, reader.record.column,
                        reader.record.name + ": used both with and without INC; left alone", true});
                }
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
    reader.inMotions = equalsNoCase(word, "MN");
    reader.skipping = false;
    if (equalsNoCase(word, "PROG")) {
        reader.sawProgram = true;
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
    } else if (reader.inMotions) {
        readMotionLine(reader, withoutLineEnd(text), line.number, out);
    }
}

void startFanuc(FanucReader& reader, std::string_view fileName) {
    reader.programFile = !fileName.empty();
}

void finishFanuc(FanucReader& reader, const ScanCallbacks& out) {
    if (reader.block.open) {
        abandonPosition(reader, reader.lastLine, reader.lastLineColumn,
                        " before the end of the file", out);
    }
    reader.skipping = false;
    reader.inPositions = false;
    reader.inMotions = false;
    if (reader.programFile && !reader.sawProgram && out.warning) {
        out.warning(ScanWarning{1, 1, "not a FANUC program: no /PROG", true});
    }
}

std::uint64_t fanucPendingOffset(const FanucReader& reader) {
    if (reader.block.open) {
        return fanucOffset(reader.block, reader.block.start);
    }
    return reader.fedEnd;
}
