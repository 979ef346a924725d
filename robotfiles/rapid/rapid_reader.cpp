#include "robotfiles/rapid/rapid_reader.h"

#include "robotfiles/scan_text.h"

#include <cstring>
#include <string_view>

namespace {

const char* findByte(std::string_view text, std::size_t from, std::size_t to, char c) {
    return static_cast<const char*>(std::memchr(text.data() + from, c, to - from));
}

// The ';' that ends the statement, searched from pos on; npos when the line
// ends first. Strings and comments never span lines, so each line starts
// outside both. memchr finds the bytes quicker than a loop.
std::size_t statementEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size()) {
        const char* semicolon = findByte(text, pos, text.size(), ';');
        const std::size_t end =
            semicolon ? static_cast<std::size_t>(semicolon - text.data()) : text.size();
        const char* quote = findByte(text, pos, end, '"');
        const std::size_t stringAt = quote ? static_cast<std::size_t>(quote - text.data()) : end;
        const char* comment = findByte(text, pos, stringAt, '!');
        if (comment) {
            return std::string_view::npos;
        }
        if (!quote) {
            return semicolon ? end : std::string_view::npos;
        }
        pos = skipRapidString(text, stringAt);
    }
    return std::string_view::npos;
}

void warnAtStart(const RapidReader& reader, const char* message, const ScanCallbacks& out) {
    if (out.warning) {
        out.warning(ScanWarning{reader.firstLineNumber,
                                reader.statementOffset - reader.firstLineOffset + 1, message});
    }
}

void closeStatement(RapidReader& reader) {
    reader.open = false;
    reader.statement.clear();
    reader.lineStarts.clear();
}

void passOver(RapidReader& reader, const ScanCallbacks& out) {
    warnAtStart(reader, "statement longer than 1 MiB: skipped up to its ';'", out);
    closeStatement(reader);
}

void readStatement(RapidReader& reader, std::string_view text, bool ended,
                   const ScanCallbacks& out) {
    RapidStatement statement;
    statement.text = text;
    statement.offset = reader.statementOffset;
    statement.firstLineOffset = reader.firstLineOffset;
    statement.firstLineNumber = reader.firstLineNumber;
    statement.lineStarts = reader.lineStarts;
    readRapidStatement(statement, ended, reader.work, out);
}

// Keeps the statement's bytes of this line; false when they outgrow the bound.
bool keep(RapidReader& reader, std::string_view bytes, const ScanCallbacks& out) {
    if (reader.statement.size() + bytes.size() > maxRapidStatementBytes) {
        passOver(reader, out);
        return false;
    }
    reader.statement.append(bytes);
    return true;
}

} // namespace

void readRapidLine(RapidReader& reader, const SourceLine& line, const ScanCallbacks& out) {
    reader.endOffset = line.offset + line.text.size();
    if (line.overlong) {
        if (reader.open) {
            warnAtStart(reader, "statement not read: one of its lines is longer than 1 MiB", out);
        }
        closeStatement(reader);
        reader.skipping = false;
        return;
    }
    const std::string_view text = line.text;
    // Whether the open statement started on an earlier line, so that its
    // bytes are kept rather than read in place.
    bool carried = reader.open;
    if (carried) {
        reader.lineStarts.push_back(static_cast<std::uint32_t>(reader.statement.size()));
    }
    std::size_t start = 0; // of the open statement's bytes on this line
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (!reader.open && !reader.skipping) {
            pos = skipBlanks(text, pos);
            if (pos >= text.size() || text[pos] == '!') {
                return;
            }
            reader.open = true;
            reader.statementOffset = line.offset + pos;
            reader.firstLineOffset = line.offset;
            reader.firstLineNumber = line.number;
            start = pos;
        }
        const std::size_t end = statementEnd(text, pos);
        if (end == std::string_view::npos) {
            if (reader.open) {
                reader.skipping = !keep(reader, text.substr(start), out);
            }
            return;
        }
        if (reader.skipping) {
            reader.skipping = false;
        } else if (!carried) {
            readStatement(reader, text.substr(start, end - start), true, out);
            closeStatement(reader);
        } else if (keep(reader, text.substr(0, end), out)) {
            readStatement(reader, reader.statement, true, out);
            closeStatement(reader);
        }
        carried = false;
        pos = end + 1;
    }
}

void startRapid(RapidReader& reader, std::string_view fileName) {
    // Every extension the scanner gives to RAPID names a module file.
    reader.moduleFile = !fileName.empty();
}

void finishRapid(RapidReader& reader, const ScanCallbacks& out) {
    if (reader.open) {
        std::string_view text = reader.statement;
        while (!text.empty() && isBlankByte(text.back())) {
            text.remove_suffix(1);
        }
        readStatement(reader, text, false, out);
    }
    closeStatement(reader);
    reader.skipping = false;
    if (reader.moduleFile && !reader.work.sawModule && out.warning) {
        out.warning(ScanWarning{1, 1, "not a RAPID module: no MODULE", true});
    }
}

std::uint64_t rapidPendingOffset(const RapidReader& reader) {
    return reader.open ? reader.statementOffset : reader.endOffset;
}
