#include "cli/output/escape.h"

namespace {

enum class Document { json, page, xml };

// The length of the valid UTF-8 sequence at text[pos], or 0.
std::size_t utf8Length(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    unsigned lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    unsigned code = lead & (length == 2 ? 0x1Fu : length == 3 ? 0x0Fu : 0x07u);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(pos + i) & 0x3Fu);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF are not UTF-8.
    if (code < lowest || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return 0;
    }
    return length;
}

// What an ASCII byte becomes in the document, or null where it stands as itself.
const char* asciiEscape(unsigned char c, Document document, char (&buffer)[8]) {
    static const char hex[] = "0123456789abcdef";
    if (document == Document::xml) {
        switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return "&quot;";
        case '\'':
            return "&apos;";
        case '\t':
            return " ";
        default:
            // XML 1.0 cannot hold most control characters at all, not even as references.
            return c < 0x20 || c == 0x7F ? "\xEF\xBF\xBD" : nullptr;
        }
    }
    if (c == '"') {
        return "\\\"";
    }
    if (c == '\\') {
        return "\\\\";
    }
    const bool page = document == Document::page && (c == '<' || c == '>' || c == '&');
    if (c < 0x20 || c == 0x7F || page) {
        buffer[0] = '\\';
        buffer[1] = 'u';
        buffer[2] = '0';
        buffer[3] = '0';
        buffer[4] = hex[c >> 4];
        buffer[5] = hex[c & 15];
        buffer[6] = '\0';
        return buffer;
    }
    return nullptr;
}

std::string escaped(std::string_view bytes, Document document) {
    const bool quoted = document != Document::xml;
    const char* const replacement = quoted ? "\\ufffd" : "\xEF\xBF\xBD";
    std::string out;
    out.reserve(bytes.size() + 2);
    if (quoted) {
        out += '"';
    }
    char buffer[8];
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            const char* escape = asciiEscape(c, document, buffer);
            if (escape != nullptr) {
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
            ++i;
        } else if (const std::size_t n = utf8Length(bytes, i); n > 0) {
            // XML 1.0 cannot hold U+FFFE and U+FFFF at all, not even as references.
            const std::string_view sequence = bytes.substr(i, n);
            const bool excluded = document == Document::xml &&
                                  (sequence == "\xEF\xBF\xBE" || sequence == "\xEF\xBF\xBF");
            out.append(excluded ? std::string_view("\xEF\xBF\xBD") : sequence);
            i += n;
        } else {
            out += replacement;
            ++i;
        }
    }
    if (quoted) {
        out += '"';
    }
    return out;
}

} // namespace

std::string jsonQuoted(std::string_view bytes) {
    return escaped(bytes, Document::json);
}

std::string pageJsonQuoted(std::string_view bytes) {
    return escaped(bytes, Document::page);
}

std::string xmlEscaped(std::string_view bytes) {
    return escaped(bytes, Document::xml);
}
