#pragma once

// What the page and the SVG must make of any bytes, worked out here on its
// own rather than by the escaper's code: valid UTF-8 stays, every other byte
// becomes U+FFFD; in XML a tab becomes a blank and every other control
// character U+FFFD. And a small check that a document is well-formed XML
// with the text of each element decoded, enough for the SVG writer's output.

#include "fuzz/fuzz_input.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline const std::string replacementCharacter = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at text[pos] by the table of
// well-formed byte sequences (Unicode, table 3-7), or 0.
FUZZ_CHECKER inline std::size_t wellFormedLength(std::string_view text, std::size_t pos) {
    struct Row {
        unsigned char lead[2];
        unsigned char second[2];
        std::size_t length;
    };
    static const Row rows[] = {
        {{0x00, 0x7F}, {0, 0}, 1},       {{0xC2, 0xDF}, {0x80, 0xBF}, 2},
        {{0xE0, 0xE0}, {0xA0, 0xBF}, 3}, {{0xE1, 0xEC}, {0x80, 0xBF}, 3},
        {{0xED, 0xED}, {0x80, 0x9F}, 3}, {{0xEE, 0xEF}, {0x80, 0xBF}, 3},
        {{0xF0, 0xF0}, {0x90, 0xBF}, 4}, {{0xF1, 0xF3}, {0x80, 0xBF}, 4},
        {{0xF4, 0xF4}, {0x80, 0x8F}, 4},
    };
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (const Row& row : rows) {
        if (bytes[pos] < row.lead[0] || bytes[pos] > row.lead[1]) {
            continue;
        }
        if (pos + row.length > text.size()) {
            return 0;
        }
        if (row.length > 1 && (bytes[pos + 1] < row.second[0] || bytes[pos + 1] > row.second[1])) {
            return 0;
        }
        for (std::size_t i = 2; i < row.length; ++i) {
            if (bytes[pos + i] < 0x80 || bytes[pos + i] > 0xBF) {
                return 0;
            }
        }
        return row.length;
    }
    return 0;
}

// The code point of a well-formed sequence.
FUZZ_CHECKER inline std::uint32_t codePointOf(std::string_view sequence) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(sequence.data());
    switch (sequence.size()) {
    case 1:
        return b[0];
    case 2:
        return (b[0] & 0x1Fu) << 6 | (b[1] & 0x3Fu);
    case 3:
        return (b[0] & 0x0Fu) << 12 | (b[1] & 0x3Fu) << 6 | (b[2] & 0x3Fu);
    default:
        return (b[0] & 0x07u) << 18 | (b[1] & 0x3Fu) << 12 | (b[2] & 0x3Fu) << 6 | (b[3] & 0x3Fu);
    }
}

// XML 1.0's Char: the characters a document may hold at all.
FUZZ_CHECKER inline bool isXmlChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The text a JSON string of these bytes stands for.
FUZZ_CHECKER inline std::string expectedJsonText(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = wellFormedLength(bytes, i);
        out += n == 0 ? replacementCharacter : std::string(bytes.substr(i, n));
        i += n == 0 ? 1 : n;
    }
    return out;
}

// The text an XML document's element of these bytes holds, once decoded.
FUZZ_CHECKER inline std::string expectedXmlText(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = wellFormedLength(bytes, i);
        if (n == 0) {
            out += replacementCharacter;
            ++i;
            continue;
        }
        const std::string_view sequence = bytes.substr(i, n);
        const std::uint32_t c = codePointOf(sequence);
        if (c == '\t') {
            out += ' ';
        } else if (c < 0x20 || c == 0x7F || !isXmlChar(c)) {
            out += replacementCharacter;
        } else {
            out += sequence;
        }
        i += n;
    }
    return out;
}

// One element of a document, with the decoded text directly inside it.
struct XmlElement {
    std::string name;
    std::string text;
    std::size_t children = 0;
};

namespace xml_check {

FUZZ_CHECKER inline bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}
FUZZ_CHECKER inline bool isNameByte(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
FUZZ_CHECKER inline bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A reference at text[pos] ('&' there): appends what it stands for.
FUZZ_CHECKER inline bool readReference(std::string_view doc, std::size_t& pos, std::string& out) {
    const std::size_t end = doc.find(';', pos);
    if (end == std::string_view::npos || end - pos > 12) {
        return false;
    }
    const std::string_view name = doc.substr(pos + 1, end - pos - 1);
    static const struct {
        std::string_view name;
        char c;
    } predefined[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& entity : predefined) {
        if (name == entity.name) {
            out += entity.c;
            pos = end + 1;
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#') {
        return false;
    }
    const bool hex = name[1] == 'x';
    std::uint32_t c = 0;
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) {
        return false;
    }
    for (const char d : digits) {
        const int value = d >= '0' && d <= '9'          ? d - '0'
                          : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                          : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                        : -1;
        if (value < 0 || c > 0x10FFFF) {
            return false;
        }
        c = c * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
    }
    if (!isXmlChar(c)) {
        return false;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    pos = end + 1;
    return true;
}

FUZZ_CHECKER inline std::size_t readName(std::string_view doc, std::size_t pos) {
    if (pos >= doc.size() || !isNameStart(doc[pos])) {
        return pos;
    }
    while (pos < doc.size() && isNameByte(doc[pos])) {
        ++pos;
    }
    return pos;
}

FUZZ_CHECKER inline std::size_t skipSpace(std::string_view doc, std::size_t pos) {
    while (pos < doc.size() && isSpace(doc[pos])) {
        ++pos;
    }
    return pos;
}

} // namespace xml_check

// Whether the document is well-formed XML (the subset a writer of SVG
// uses: a declaration, elements, attributes, text, references, comments);
// every element is handed over in document order of its end.
FUZZ_CHECKER inline bool wellFormedXml(std::string_view doc, std::vector<XmlElement>& elements) {
    using namespace xml_check;
    // Every character a Char of XML, the whole document UTF-8.
    for (std::size_t i = 0; i < doc.size();) {
        const std::size_t n = wellFormedLength(doc, i);
        if (n == 0 || !isXmlChar(codePointOf(doc.substr(i, n)))) {
            return false;
        }
        i += n;
    }
    std::size_t pos = 0;
    if (doc.substr(0, 6) == "<?xml ") {
        const std::size_t end = doc.find("?>");
        if (end == std::string_view::npos) {
            return false;
        }
        pos = end + 2;
    }
    std::vector<XmlElement> open;
    bool rootSeen = false;
    while (pos < doc.size()) {
        if (doc[pos] != '<') {
            std::string text;
            while (pos < doc.size() && doc[pos] != '<') {
                if (doc[pos] == '&') {
                    if (!readReference(doc, pos, text)) {
                        return false;
                    }
                } else if (doc.substr(pos, 3) == "]]>") {
                    return false;
                } else {
                    text += doc[pos++];
                }
            }
            if (open.empty()) {
                // Outside the root only blanks.
                for (const char c : text) {
                    if (!isSpace(c)) {
                        return false;
                    }
                }
            } else {
                open.back().text += text;
            }
            continue;
        }
        if (doc.substr(pos, 4) == "<!--") {
            const std::size_t end = doc.find("--", pos + 4);
            if (end == std::string_view::npos || doc.substr(end, 3) != "-->") {
                return false;
            }
            pos = end + 3;
            continue;
        }
        if (doc.substr(pos, 2) == "</") {
            const std::size_t nameEnd = readName(doc, pos + 2);
            if (nameEnd == pos + 2 || open.empty() ||
                doc.substr(pos + 2, nameEnd - pos - 2) != open.back().name) {
                return false;
            }
            pos = skipSpace(doc, nameEnd);
            if (pos >= doc.size() || doc[pos] != '>') {
                return false;
            }
            ++pos;
            elements.push_back(open.back());
            open.pop_back();
            continue;
        }
        const std::size_t nameEnd = readName(doc, pos + 1);
        if (nameEnd == pos + 1 || (open.empty() && rootSeen)) {
            return false;
        }
        XmlElement element;
        element.name = std::string(doc.substr(pos + 1, nameEnd - pos - 1));
        pos = nameEnd;
        std::vector<std::string> attributes;
        for (;;) {
            const std::size_t afterSpace = skipSpace(doc, pos);
            if (afterSpace >= doc.size()) {
                return false;
            }
            if (doc[afterSpace] == '>' || doc.substr(afterSpace, 2) == "/>") {
                pos = afterSpace;
                break;
            }
            const std::size_t attributeEnd = readName(doc, afterSpace);
            if (afterSpace == pos || attributeEnd == afterSpace) {
                return false; // attributes are separated by blanks
            }
            const std::string attribute(doc.substr(afterSpace, attributeEnd - afterSpace));
            for (const std::string& seen : attributes) {
                if (seen == attribute) {
                    return false;
                }
            }
            attributes.push_back(attribute);
            pos = skipSpace(doc, attributeEnd);
            if (pos >= doc.size() || doc[pos] != '=') {
                return false;
            }
            pos = skipSpace(doc, pos + 1);
            if (pos >= doc.size() || (doc[pos] != '"' && doc[pos] != '\'')) {
                return false;
            }
            const char quote = doc[pos++];
            std::string value;
            while (pos < doc.size() && doc[pos] != quote) {
                if (doc[pos] == '<') {
                    return false;
                }
                if (doc[pos] == '&') {
                    if (!readReference(doc, pos, value)) {
                        return false;
                    }
                } else {
                    ++pos;
                }
            }
            if (pos >= doc.size()) {
                return false;
            }
            ++pos;
        }
        if (!open.empty()) {
            ++open.back().children;
        }
        rootSeen = true;
        if (doc[pos] == '/') {
            pos += 2;
            elements.push_back(element);
        } else {
            ++pos;
            open.push_back(element);
        }
    }
    return open.empty() && rootSeen;
}
