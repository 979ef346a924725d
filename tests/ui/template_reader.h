#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads an extended dialog template back, field by field, independently of
// the writer: little-endian values, zero-terminated UTF-16 strings, items on
// 4-byte boundaries counted from the start of the buffer.
struct TemplateReader {
    const unsigned char* start;
    std::size_t offset = 0;

    std::uint8_t byte() { return start[offset++]; }
    std::uint16_t word() {
        const auto value = static_cast<std::uint16_t>(start[offset] | start[offset + 1] << 8);
        offset += 2;
        return value;
    }
    std::uint32_t dword() {
        const std::uint32_t low = word();
        const std::uint32_t high = word();
        return low | high << 16;
    }
    std::wstring string() {
        std::wstring text;
        for (std::uint16_t unit = word(); unit != 0; unit = word()) {
            text += static_cast<wchar_t>(unit);
        }
        return text;
    }
    void align() { offset = (offset + 3) / 4 * 4; }
};

struct TemplateHeader {
    std::uint16_t version, signature;
    std::uint32_t helpId, exStyle, style;
    std::uint16_t itemCount, x, y, width, height, menu, windowClass;
    std::wstring title;
    std::uint16_t pointSize, weight;
    std::uint8_t italic, charset;
    std::wstring typeface;
};

struct TemplateItem {
    std::size_t offset;
    std::uint32_t helpId, exStyle, style;
    std::uint16_t x, y, width, height;
    std::uint32_t id;
    std::uint16_t classMarker, classAtom;
    std::wstring text;
    std::uint16_t creationDataSize;
};

inline TemplateHeader readHeader(TemplateReader& reader) {
    TemplateHeader h;
    reader.align();
    h.version = reader.word();
    h.signature = reader.word();
    h.helpId = reader.dword();
    h.exStyle = reader.dword();
    h.style = reader.dword();
    h.itemCount = reader.word();
    h.x = reader.word();
    h.y = reader.word();
    h.width = reader.word();
    h.height = reader.word();
    h.menu = reader.word();
    h.windowClass = reader.word();
    h.title = reader.string();
    h.pointSize = reader.word();
    h.weight = reader.word();
    h.italic = reader.byte();
    h.charset = reader.byte();
    h.typeface = reader.string();
    return h;
}

inline TemplateItem readItem(TemplateReader& reader) {
    TemplateItem item;
    reader.align();
    item.offset = reader.offset;
    item.helpId = reader.dword();
    item.exStyle = reader.dword();
    item.style = reader.dword();
    item.x = reader.word();
    item.y = reader.word();
    item.width = reader.word();
    item.height = reader.word();
    item.id = reader.dword();
    item.classMarker = reader.word();
    item.classAtom = reader.word();
    item.text = reader.string();
    item.creationDataSize = reader.word();
    return item;
}

inline std::vector<TemplateItem> readItems(TemplateReader& reader, int count) {
    std::vector<TemplateItem> items;
    for (int i = 0; i < count; ++i) {
        items.push_back(readItem(reader));
    }
    return items;
}
