#include "robotfiles/line_reader.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t blockBytes = std::size_t{1} << 18;

} // namespace

LineReadResult forEachLine(std::FILE* file, const std::function<void(const SourceLine&)>& onLine) {
    LineReadResult result;
    std::vector<char> buffer(blockBytes);
    std::string carry;     // the start of the line in progress, from earlier blocks
    bool overlong = false; // the line in progress has outgrown the limit
    char previous = '\0';  // the last byte of the previous block
    std::uint64_t lineOffset = 0;
    std::uint64_t fileOffset = 0;
    std::uint64_t lineNumber = 1;

    const auto deliver = [&](std::string_view text, std::uint64_t offset, bool tooLong) {
        SourceLine line;
        line.text = text;
        line.offset = offset;
        line.number = lineNumber++;
        line.overlong = tooLong;
        result.overlongLines += tooLong ? 1 : 0;
        ++result.lines;
        onLine(line);
    };

    for (bool first = true;; first = false) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
        if (got == 0) {
            if (std::ferror(file)) {
                result.ok = false;
                result.error = std::strerror(errno != 0 ? errno : EIO);
                return result;
            }
            break;
        }
        std::string_view block(buffer.data(), got);
        const std::uint64_t blockStart = fileOffset;
        fileOffset += got;
        std::size_t pos = 0;
        // A UTF-8 byte order mark is not part of the first line.
        if (first && block.substr(0, 3) == "\xEF\xBB\xBF") {
            pos = 3;
            lineOffset = 3;
        }
        while (pos < block.size()) {
            const void* found = std::memchr(block.data() + pos, '\n', block.size() - pos);
            const std::size_t end =
                found ? static_cast<std::size_t>(static_cast<const char*>(found) - block.data()) + 1
                      : block.size();
            const std::string_view piece = block.substr(pos, end - pos);
            pos = end;
            overlong = overlong || carry.size() + piece.size() > maxLineBytes;
            if (!found) {
                if (overlong) {
                    carry.clear();
                } else {
                    carry.append(piece);
                }
                break;
            }
            const std::uint64_t lineEnd = blockStart + end;
            if (overlong) {
                const char beforeFeed = piece.size() >= 2 ? piece[piece.size() - 2] : previous;
                const std::string_view ending = beforeFeed == '\r' ? "\r\n" : "\n";
                deliver(ending, lineEnd - ending.size(), true);
            } else if (carry.empty()) {
                deliver(piece, lineOffset, false);
            } else {
                carry.append(piece);
                deliver(carry, lineOffset, false);
            }
            carry.clear();
            overlong = false;
            lineOffset = lineEnd;
        }
        previous = block.back();
    }
    if (overlong) {
        deliver(std::string_view(), fileOffset, true);
    } else if (!carry.empty()) {
        deliver(carry, lineOffset, false);
    }
    result.bytes = fileOffset;
    return result;
}
