#include "cli/output/table_cell.h"

namespace {

bool continuesCodePoint(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    for (const char c : text) {
        width += continuesCodePoint(c) ? 0 : 1;
    }
    return width;
}

std::string fittedCell(std::string_view text, std::size_t width, bool keepEnd,
                       std::atomic<std::uint64_t>* cut) {
    const std::size_t have = displayWidth(text);
    if (have <= width || width < 2) {
        return std::string(text);
    }
    if (cut != nullptr) {
        ++*cut;
    }
    // Keep width - 1 code points and mark the cut.
    std::size_t drop = have - (width - 1);
    if (keepEnd) {
        std::size_t at = 0;
        while (drop > 0 && at < text.size()) {
            ++at;
            while (at < text.size() && continuesCodePoint(text[at])) {
                ++at;
            }
            --drop;
        }
        return "\u2026" + std::string(text.substr(at));
    }
    std::size_t at = text.size();
    while (drop > 0 && at > 0) {
        --at;
        while (at > 0 && continuesCodePoint(text[at])) {
            --at;
        }
        --drop;
    }
    return std::string(text.substr(0, at)) + "\u2026";
}
