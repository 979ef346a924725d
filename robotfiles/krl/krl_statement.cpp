#include "robotfiles/krl/krl_statement.h"

#include "robotfiles/scan_text.h"

namespace {

std::size_t wordEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isKrlNameByte(text[pos])) {
        ++pos;
    }
    return pos;
}

// The motions whose targets are poses: the plain ones and the spline
// segments, each also as a relative motion.
bool motionKeyword(std::string_view word, bool& relative) {
    static constexpr std::string_view motions[] = {"PTP",  "LIN",   "CIRC", "SPTP",
                                                   "SLIN", "SCIRC", "SPL"};
    for (const std::string_view motion : motions) {
        if (equalsNoCase(word, motion)) {
            relative = false;
            return true;
        }
        if (word.size() == motion.size() + 4 &&
            equalsNoCase(word.substr(0, motion.size()), motion) &&
            equalsNoCase(word.substr(motion.size()), "_REL")) {
            relative = true;
            return true;
        }
    }
    return false;
}

// The words that may follow a motion's points on its line: approximation,
// circular angle, spline settings. They end the last argument.
bool endsArguments(std::string_view word) {
    return equalsAnyNoCase(
        word, {"C_DIS", "C_PTP", "C_VEL", "C_ORI", "C_SPL", "CA", "WITH", "#BASE", "#TOOL"});
}

std::size_t trimEnd(std::string_view text, std::size_t begin, std::size_t end) {
    while (end > begin && isBlankByte(text[end - 1])) {
        --end;
    }
    return end;
}

// The comma-separated point arguments after a motion's keyword, up to the
// end of the line, a comment, or a word that ends them.
void readArguments(std::string_view text, std::size_t pos, KrlLine& line) {
    int depth = 0;
    std::size_t start = skipBlanks(text, pos);
    const auto close = [&](std::size_t end) {
        end = trimEnd(text, start, end);
        if (end > start && line.argumentCount < maxKrlMotionArguments) {
            line.arguments[line.argumentCount++] = KrlArgument{start, end};
        }
    };
    pos = start;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == ';') {
            break;
        }
        if (c == '"') {
            const std::size_t quote = text.find('"', pos + 1);
            pos = quote == std::string_view::npos ? text.size() : quote + 1;
            continue;
        }
        if (c == '{' || c == '[' || c == '(') {
            ++depth;
        } else if ((c == '}' || c == ']' || c == ')') && depth > 0) {
            --depth;
        } else if (depth == 0 && c == ',') {
            close(pos);
            start = skipBlanks(text, pos + 1);
        } else if (depth == 0 && (isKrlNameByte(c) || c == '#') && pos > start &&
                   isBlankByte(text[pos - 1])) {
            // A word after a blank at the top level: an approximation or
            // another setting ends the points, an operand does not.
            std::size_t after = pos + 1;
            while (after < text.size() && isKrlNameByte(text[after])) {
                ++after;
            }
            if (endsArguments(text.substr(pos, after - pos))) {
                break;
            }
        }
        ++pos;
    }
    close(pos);
}

// The '=' of an assignment at the top level of the line, not part of ==, <=
// or >=; npos where there is none.
std::size_t assignmentAt(std::string_view text, std::size_t pos) {
    int depth = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == ';') {
            break;
        }
        if (c == '"') {
            const std::size_t quote = text.find('"', pos + 1);
            if (quote == std::string_view::npos) {
                break;
            }
            pos = quote;
        } else if (c == '{' || c == '[' || c == '(') {
            ++depth;
        } else if ((c == '}' || c == ']' || c == ')') && depth > 0) {
            --depth;
        } else if (c == '=' && depth == 0) {
            const char before = pos > 0 ? text[pos - 1] : '\0';
            const char after = pos + 1 < text.size() ? text[pos + 1] : '\0';
            if (before == '=' || before == '<' || before == '>' || after == '=') {
                return std::string_view::npos;
            }
            return pos;
        }
    }
    return std::string_view::npos;
}

} // namespace

KrlLine classifyKrlLine(std::string_view text) {
    KrlLine line;
    std::size_t pos = skipBlanks(text, 0);
    if (pos >= text.size() || text[pos] == ';') {
        return line;
    }
    if (text[pos] == '&') {
        line.kind = KrlLineKind::header;
        return line;
    }
    std::size_t end = wordEnd(text, pos);
    line.keyword = text.substr(pos, end - pos);
    // GLOBAL and PUBLIC stand before DEF, DEFFCT and DECL.
    std::string_view word = line.keyword;
    std::size_t next = skipBlanks(text, end);
    if (equalsAnyNoCase(word, {"GLOBAL", "PUBLIC"})) {
        const std::size_t after = wordEnd(text, next);
        word = text.substr(next, after - next);
        next = skipBlanks(text, after);
    }
    bool relative = false;
    if (equalsAnyNoCase(word, {"DEF", "DEFFCT"})) {
        line.kind = KrlLineKind::routineStart;
    } else if (equalsAnyNoCase(word, {"END", "ENDFCT"})) {
        line.kind = KrlLineKind::routineEnd;
    } else if (equalsAnyNoCase(word, {"DEFDAT"})) {
        line.kind = KrlLineKind::dataStart;
    } else if (equalsAnyNoCase(word, {"ENDDAT"})) {
        line.kind = KrlLineKind::dataEnd;
    } else if (equalsAnyNoCase(word, {"DECL", "CONST", "STRUC", "ENUM", "SIGNAL", "CHANNEL"})) {
        line.kind = KrlLineKind::declaration;
    } else if (motionKeyword(word, relative) && next < text.size() && text[next] != '=') {
        line.kind = KrlLineKind::motion;
        line.relative = relative;
        readArguments(text, end, line);
    } else if (const std::size_t equals = assignmentAt(text, end);
               equals != std::string_view::npos) {
        // "TYPE name = value" in a data list declares, "name = value" assigns.
        const std::size_t second = wordEnd(text, next);
        const std::size_t afterSecond = skipBlanks(text, second);
        const bool typed =
            second > next && next > end &&
            (afterSecond == equals || (afterSecond < text.size() && text[afterSecond] == '['));
        line.kind = typed ? KrlLineKind::declaration : KrlLineKind::assignment;
        line.equalsAt = equals;
        const std::size_t left = trimEnd(text, pos, equals);
        line.assigned = text.substr(pos, left - pos);
    } else {
        line.kind = KrlLineKind::other;
    }
    return line;
}

std::string krlNameKey(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c == '[' || c == '.' || isBlankByte(c)) {
            break;
        }
        key += lowerByte(c);
    }
    return key;
}
