#include "robotfiles/program_input.h"

#include "robotfiles/scan_text.h"

#include <algorithm>
#include <charconv>
#include <limits>

void noteLabel(JumpNotes& notes, std::string_view name, std::uint64_t line) {
    notes.labels.emplace(std::string(name), line);
}

void noteJump(JumpNotes& notes, std::string_view name, std::uint64_t line) {
    notes.jumps.emplace_back(std::string(name), line);
}

LineRegions regionsOf(const JumpNotes& notes) {
    LineRegions regions;
    for (const auto& [name, line] : notes.jumps) {
        const auto label = notes.labels.find(name);
        if (label == notes.labels.end()) {
            regions.spans.emplace_back(line, std::numeric_limits<std::uint64_t>::max());
        } else {
            regions.spans.emplace_back(std::min(line, label->second),
                                       std::max(line, label->second));
        }
    }
    std::sort(regions.spans.begin(), regions.spans.end());
    std::vector<std::pair<std::uint64_t, std::uint64_t>> merged;
    for (const auto& span : regions.spans) {
        const std::uint64_t end = merged.empty() ? 0 : merged.back().second;
        if (!merged.empty() &&
            (end == std::numeric_limits<std::uint64_t>::max() || span.first <= end + 1)) {
            merged.back().second = std::max(merged.back().second, span.second);
        } else {
            merged.push_back(span);
        }
    }
    regions.spans = std::move(merged);
    return regions;
}

bool inRegion(LineRegions& regions, std::uint64_t line) {
    while (regions.next < regions.spans.size() && regions.spans[regions.next].second < line) {
        ++regions.next;
    }
    return regions.next < regions.spans.size() && regions.spans[regions.next].first <= line;
}

void startStatement(Statement& statement, StatementKind kind, std::uint32_t file,
                    std::uint64_t line, std::string_view text) {
    statement.kind = kind;
    statement.place = SourceSpan{file, line, line};
    statement.text.assign(text);
    statement.name.clear();
    statement.main = false;
    statement.comment.clear();
    statement.key.clear();
    statement.seconds = -1.0;
    statement.signal.clear();
    statement.state = true;
    statement.pulse = false;
    statement.keptCode = WarningCode::statementKept;
    statement.structural = StructuralKind::frame;
}

void keptStatement(Statement& statement, WarningCode code, std::uint32_t file, std::uint64_t line,
                   std::string_view text) {
    startStatement(statement, StatementKind::kept, file, line, text);
    statement.keptCode = code;
}

std::string_view trimmedText(std::string_view text) {
    const std::size_t first = skipBlanks(text, 0);
    std::size_t last = text.size();
    while (last > first && isBlankByte(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

bool readSeconds(std::string_view text, double& seconds) {
    text = trimmedText(text);
    if (text.empty() || text.size() > 32) {
        return false;
    }
    double value = 0.0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !(value >= 0.0)) {
        return false;
    }
    seconds = value;
    return true;
}
