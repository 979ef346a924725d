#include "robotfiles/rapid/rapid_pieces.h"

#include "robotfiles/rapid/rapid_values.h"
#include "robotfiles/scan_text.h"

namespace {

// Where the ';' that ends a statement stands in the line from pos on, or
// npos: strings and comments never span lines, so each line starts outside
// both.
std::size_t statementEnd(std::string_view text, std::size_t pos) {
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            pos = skipRapidString(text, pos) - 1;
        } else if (c == '!') {
            return std::string_view::npos;
        } else if (c == ';') {
            return pos;
        }
    }
    return std::string_view::npos;
}

// Where the line's code ends: before its comment, blanks trimmed.
std::size_t codeEnd(std::string_view text, std::size_t pos) {
    std::size_t end = text.size();
    for (std::size_t at = pos; at < text.size(); ++at) {
        if (text[at] == '"') {
            at = skipRapidString(text, at) - 1;
        } else if (text[at] == '!') {
            end = at;
            break;
        }
    }
    while (end > pos && isBlankByte(text[end - 1])) {
        --end;
    }
    return end;
}

// Whether the code of the line ends with THEN or DO: a block's head.
bool endsHead(std::string_view text, std::size_t pos, std::size_t& end) {
    end = codeEnd(text, pos);
    std::size_t start = end;
    while (start > pos && isRapidWordByte(text[start - 1])) {
        --start;
    }
    const std::string_view last = text.substr(start, end - start);
    return (start == pos || !isRapidWordByte(text[start - 1])) &&
           (equalsNoCase(last, "THEN") || equalsNoCase(last, "DO"));
}

// The closing parenthesis of a routine's parameters, or the line's code end.
std::size_t routineHeadEnd(std::string_view text, std::size_t pos) {
    const std::size_t end = codeEnd(text, pos);
    const std::size_t open = text.find('(', pos);
    if (open == std::string_view::npos || open >= end) {
        return end;
    }
    const std::size_t close = text.find(')', open);
    return close == std::string_view::npos || close >= end ? end : close + 1;
}

void visitLine(const RapidPieceVisit& visit, RapidPieceKind kind, std::string_view text,
               std::string_view word, std::uint64_t line) {
    RapidPiece piece;
    piece.kind = kind;
    piece.text = text;
    piece.word = word;
    piece.firstLine = line;
    piece.lastLine = line;
    visit(piece);
}

// A structure line at text[pos]: hands it over and returns where the line
// goes on, or npos when the word starts no structure line.
std::size_t structureAt(std::string_view text, std::size_t pos, std::size_t start,
                        std::uint64_t line, const RapidPieceVisit& visit, bool& head) {
    head = false;
    std::size_t wordStop = rapidWordEnd(text, pos);
    std::string_view word = text.substr(pos, wordStop - pos);
    // LOCAL and TASK stand before PROC, FUNC and TRAP as before data.
    std::size_t next = skipBlanks(text, wordStop);
    if (equalsAnyNoCase(word, {"LOCAL", "TASK"})) {
        const std::size_t after = rapidWordEnd(text, next);
        const std::string_view second = text.substr(next, after - next);
        if (!equalsAnyNoCase(second, {"PROC", "FUNC", "TRAP"})) {
            return std::string_view::npos;
        }
    }
    RapidPiece piece;
    piece.kind = RapidPieceKind::structure;
    piece.firstLine = line;
    piece.lastLine = line;
    std::size_t end = std::string_view::npos;
    if (text.substr(pos, 3) == "%%%") {
        end = codeEnd(text, pos); // %%% of an old module's header
        word = text.substr(pos, 3);
    } else if (word.empty()) {
        return std::string_view::npos;
    } else if (next < text.size() && text[next] == ':' &&
               (next + 1 >= text.size() || text[next + 1] != '=')) {
        // "name:" a label; "VERSION:1" and "LANGUAGE:ENGLISH" of an old header.
        piece.label = !equalsAnyNoCase(word, {"VERSION", "LANGUAGE", "DEFAULT"});
        end = equalsAnyNoCase(word, {"VERSION", "LANGUAGE"}) ? codeEnd(text, pos) : next + 1;
    } else if (equalsAnyNoCase(word, {"LOCAL", "TASK", "PROC", "FUNC", "TRAP"})) {
        end = routineHeadEnd(text, pos);
    } else if (equalsAnyNoCase(word, {"MODULE", "ENDMODULE", "ENDPROC", "ENDFUNC", "ENDTRAP",
                                      "ELSE", "ERROR", "BACKWARD", "UNDO", "RECORD", "ENDRECORD",
                                      "ENDIF", "ENDWHILE", "ENDFOR", "ENDTEST"})) {
        end = codeEnd(text, pos);
        piece.opens = equalsNoCase(word, "RECORD");
        piece.closes =
            equalsAnyNoCase(word, {"ENDIF", "ENDWHILE", "ENDFOR", "ENDTEST", "ENDRECORD"});
    } else if (equalsAnyNoCase(word, {"TEST"})) {
        end = codeEnd(text, pos);
        piece.opens = true;
    } else if (equalsAnyNoCase(word, {"CASE"})) {
        // CASE 1, 2: up to its ':'; an instruction may follow on the line.
        const std::size_t colon = text.find(':', wordStop);
        end = colon == std::string_view::npos ? codeEnd(text, pos) : colon + 1;
    } else if (equalsAnyNoCase(word, {"IF", "ELSEIF", "WHILE", "FOR"})) {
        const std::size_t semicolon = statementEnd(text, pos);
        std::size_t headEnd = 0;
        if (endsHead(text, pos, headEnd) &&
            (semicolon == std::string_view::npos || semicolon > headEnd)) {
            end = headEnd;
            piece.opens = !equalsNoCase(word, "ELSEIF");
        } else if (semicolon == std::string_view::npos && !equalsNoCase(word, "IF")) {
            head = true; // a head over several lines
            return std::string_view::npos;
        } else {
            head = semicolon == std::string_view::npos;
            return std::string_view::npos; // a compact IF: a statement
        }
    } else {
        return std::string_view::npos;
    }
    piece.text = text.substr(start, end - start);
    piece.word = word;
    visit(piece);
    return end;
}

void closeOpen(RapidSplitter& s) {
    s.open = false;
    s.head = false;
    s.text.clear();
    s.lineStarts.clear();
}

void visitStatement(RapidSplitter& s, std::string_view text, std::uint64_t offset,
                    std::uint64_t firstLine, std::uint64_t firstLineOffset, std::uint64_t lastLine,
                    bool multiLine, const RapidPieceVisit& visit,
                    RapidPieceKind kind = RapidPieceKind::statement) {
    RapidPiece piece;
    piece.kind = kind;
    piece.text = text;
    const std::size_t start = skipBlanks(text, 0);
    piece.word = text.substr(start, rapidWordEnd(text, start) - start);
    piece.firstLine = firstLine;
    piece.lastLine = lastLine;
    // The walker reads a statement up to its ';', without it.
    piece.statement.text =
        !text.empty() && text.back() == ';' ? text.substr(0, text.size() - 1) : text;
    piece.statement.offset = offset;
    piece.statement.firstLineOffset = firstLineOffset;
    piece.statement.firstLineNumber = firstLine;
    if (multiLine) {
        piece.statement.lineStarts = s.lineStarts;
    }
    visit(piece);
}

} // namespace

void startRapidSplitter(RapidSplitter& splitter) {
    closeOpen(splitter);
    splitter.skipping = false;
}

void splitRapidLine(RapidSplitter& s, const SourceLine& line, const RapidPieceVisit& visit) {
    const std::string_view text = line.overlong ? std::string_view() : withoutLineEnd(line.text);
    bool covered = false;
    std::size_t pos = 0;
    if (line.overlong && !s.open && !s.skipping) {
        visitLine(visit, RapidPieceKind::unfinished, {}, {}, line.number);
        return;
    }
    if (s.skipping ||
        (s.open && (line.overlong || s.text.size() + text.size() + 1 > maxRapidPieceBytes))) {
        // Too long to hold: the rest of the statement line by line.
        if (s.open) {
            visitStatement(s, s.text, s.offset, s.firstLine, s.firstLineOffset, line.number - 1,
                           true, visit, RapidPieceKind::unfinished);
            closeOpen(s);
        }
        const std::size_t end = statementEnd(text, 0);
        s.skipping = end == std::string_view::npos;
        visitLine(visit, RapidPieceKind::unfinished,
                  text.substr(0, s.skipping ? text.size() : end + 1), {}, line.number);
        if (s.skipping) {
            return;
        }
        covered = true;
        pos = end + 1;
    } else if (s.open) {
        s.lineStarts.push_back(static_cast<std::uint32_t>(s.text.size() + 1));
        s.text += '\n';
        const std::size_t appendedAt = s.text.size();
        s.text.append(text);
        std::size_t headEnd = 0;
        const std::size_t end = statementEnd(text, 0);
        const bool headDone = s.head && end == std::string_view::npos && endsHead(text, 0, headEnd);
        if (end == std::string_view::npos && !headDone) {
            return;
        }
        const std::size_t stop = headDone ? headEnd : end + 1;
        s.text.resize(appendedAt + stop);
        if (headDone) {
            RapidPiece piece;
            piece.kind = RapidPieceKind::structure;
            piece.text = s.text;
            const std::size_t start = skipBlanks(s.text, 0);
            piece.word =
                std::string_view(s.text).substr(start, rapidWordEnd(s.text, start) - start);
            piece.opens = !equalsNoCase(piece.word, "ELSEIF");
            piece.firstLine = s.firstLine;
            piece.lastLine = line.number;
            visit(piece);
        } else {
            visitStatement(s, s.text, s.offset, s.firstLine, s.firstLineOffset, line.number, true,
                           visit);
        }
        closeOpen(s);
        covered = true;
        pos = stop;
    }
    for (;;) {
        pos = skipBlanks(text, pos);
        if (pos >= text.size()) {
            if (!covered) {
                visitLine(visit, RapidPieceKind::blank, {}, {}, line.number);
            }
            return;
        }
        if (text[pos] == '!') {
            visitLine(visit, RapidPieceKind::comment, text.substr(pos + 1), {}, line.number);
            return;
        }
        // The first piece of a line keeps the line's indentation, so that a
        // kept line is the line as it was.
        const std::size_t start = covered ? pos : 0;
        bool head = false;
        const std::size_t after = structureAt(text, pos, start, line.number, visit, head);
        if (after != std::string_view::npos) {
            covered = true;
            pos = after;
            continue;
        }
        const std::size_t end = statementEnd(text, pos);
        if (end == std::string_view::npos) {
            s.open = true;
            s.head = head;
            s.text.assign(text.substr(start));
            s.lineStarts.clear();
            s.offset = line.offset + start;
            s.firstLine = line.number;
            s.firstLineOffset = line.offset;
            return;
        }
        visitStatement(s, text.substr(start, end + 1 - start), line.offset + start, line.number,
                       line.offset, line.number, false, visit);
        covered = true;
        pos = end + 1;
    }
}

void finishRapidSplitter(RapidSplitter& s, const RapidPieceVisit& visit) {
    if (s.open) {
        std::uint64_t lastLine = s.firstLine + s.lineStarts.size();
        visitStatement(s, s.text, s.offset, s.firstLine, s.firstLineOffset, lastLine, true, visit,
                       RapidPieceKind::unfinished);
    }
    closeOpen(s);
    s.skipping = false;
}
