#include "robotfiles/krl/krl_reader.h"

#include "robotfiles/scan_text.h"

#include <cstring>
#include <string_view>

namespace {

std::size_t nameEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isKrlNameByte(text[pos])) {
        ++pos;
    }
    return pos;
}

// What the start of a line declares: "[DECL] [GLOBAL] [CONST] TYPE name =",
// the keywords in any order and any case, DECL optional as data lists allow.
struct Declaration {
    bool present = false;
    const char* poseType = nullptr; // E6POS, POS or FRAME; null for any other type
};

Declaration readDeclaration(std::string_view text, std::size_t pos) {
    Declaration declaration;
    for (int words = 0; words < 4; ++words) {
        const std::size_t wordEnd = nameEnd(text, pos);
        const std::string_view word = text.substr(pos, wordEnd - pos);
        if (word.empty()) {
            return declaration;
        }
        pos = skipBlanks(text, wordEnd);
        if (equalsNoCase(word, "DECL") || equalsNoCase(word, "GLOBAL") ||
            equalsNoCase(word, "CONST")) {
            continue;
        }
        // word is the type when a name and "=" follow.
        std::size_t after = nameEnd(text, pos);
        if (after == pos) {
            return declaration;
        }
        if (after < text.size() && text[after] == '[') {
            const void* close = std::memchr(text.data() + after, ']', text.size() - after);
            if (close == nullptr) {
                return declaration;
            }
            after = static_cast<std::size_t>(static_cast<const char*>(close) - text.data()) + 1;
        }
        after = skipBlanks(text, after);
        if (after >= text.size() || text[after] != '=') {
            return declaration;
        }
        declaration.present = true;
        for (const char* known : {"E6POS", "POS", "FRAME"}) {
            if (equalsNoCase(word, known)) {
                declaration.poseType = known;
            }
        }
        return declaration;
    }
    return declaration;
}

// The variable an aggregate at text[open] is assigned to ("XP1",
// "TOOL_DATA[1]", "$TOOL"), or empty for a value inline in a statement
// (LIN {...}, pos[2]:{...}, a comparison).
std::string_view assignedName(std::string_view text, std::size_t open) {
    std::size_t pos = open;
    while (pos > 0 && isBlankByte(text[pos - 1])) {
        --pos;
    }
    if (pos == 0 || text[pos - 1] != '=') {
        return {};
    }
    std::size_t equals = pos - 1;
    if (equals > 0 &&
        (text[equals - 1] == '=' || text[equals - 1] == '<' || text[equals - 1] == '>')) {
        return {};
    }
    std::size_t end = equals;
    while (end > 0 && isBlankByte(text[end - 1])) {
        --end;
    }
    std::size_t start = end;
    while (start > 0) {
        const char c = text[start - 1];
        if (isKrlNameByte(c) || c == '.') {
            --start;
        } else if (c == ']') {
            const std::size_t bracket = text.rfind('[', start - 1);
            if (bracket == std::string_view::npos) {
                break;
            }
            start = bracket;
        } else {
            break;
        }
    }
    return text.substr(start, end - start);
}

void report(const KrlFinds& finds, const ScanCallbacks& out) {
    for (std::size_t i = 0; i < finds.count; ++i) {
        if (finds.listed[i] != 0 && out.pose) {
            out.pose(finds.records[i]);
        }
    }
}

void warn(const KrlFinds& finds, const SourceLine& line, const ScanCallbacks& out) {
    if (finds.poseLike && out.warning) {
        out.warning(ScanWarning{line.number, finds.troublePos + 1, krlTroubleMessage(finds)});
    }
}

} // namespace

void readKrlLine(KrlReader& reader, const SourceLine& line, const ScanCallbacks& out) {
    reader.lineEnd = line.offset + line.text.size();
    // Most lines of a program hold no aggregate at all.
    if (line.overlong || std::memchr(line.text.data(), '{', line.text.size()) == nullptr) {
        return;
    }
    const std::string_view text = withoutLineEnd(line.text);
    std::size_t pos = skipBlanks(text, 0);
    if (pos < text.size() && text[pos] == '&') {
        return; // a header line: &ACCESS, &PARAM
    }
    const Declaration declaration = readDeclaration(text, pos);
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ';') {
            return; // the rest is a comment, whatever bytes it holds
        }
        if (c == '"') {
            const void* close = std::memchr(text.data() + pos + 1, '"', text.size() - pos - 1);
            if (close == nullptr) {
                return;
            }
            pos = static_cast<std::size_t>(static_cast<const char*>(close) - text.data()) + 1;
            continue;
        }
        if (c != '{') {
            ++pos;
            continue;
        }
        KrlContext context;
        context.name = assignedName(text, pos);
        if (!context.name.empty() && declaration.present) {
            context.declaredType = declaration.poseType;
            context.otherDeclaration = declaration.poseType == nullptr;
        }
        std::size_t end = pos;
        if (!readKrlAggregate(text, pos, context, line, reader.finds, end)) {
            // The statement is lost; the next line is read afresh.
            warn(reader.finds, line, out);
            return;
        }
        report(reader.finds, out);
        pos = end;
    }
}

void finishKrl(KrlReader&, const ScanCallbacks&) {}

std::uint64_t krlPendingOffset(const KrlReader& reader) {
    return reader.lineEnd;
}
