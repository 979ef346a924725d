#include "ui/about_template.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "template_reader.h"

namespace {

AboutTexts sampleTexts() {
    AboutTexts texts;
    texts.title = L"Title";
    texts.versionLines = L"Version 1.2.11.0\r\nBuilt 2026-12-08";
    texts.heading = L"Head";
    texts.subheading = L"Sub heading";
    texts.linkText = L"Link";
    return texts;
}

TEST(AboutTemplate, HeaderIsASmallFixedBox) {
    TemplateBuffer buffer;
    buildAboutTemplate(buffer, sampleTexts(), L"Tahoma");
    TemplateReader reader{buffer.bytes};
    const TemplateHeader h = readHeader(reader);
    EXPECT_EQ(h.style, 0x80C800C0u);
    EXPECT_EQ(h.itemCount, 6);
    EXPECT_EQ(h.x, 55);
    EXPECT_EQ(h.y, 10);
    EXPECT_EQ(h.width, 114);
    EXPECT_EQ(h.height, 126);
    EXPECT_EQ(h.title, L"About");
    EXPECT_EQ(h.pointSize, 9);
    EXPECT_EQ(h.weight, 400);
    EXPECT_EQ(h.typeface, L"Tahoma");
}

TEST(AboutTemplate, SixItemsInOrderWithTheirPlacesStylesAndTexts) {
    struct Expected {
        std::uint32_t id;
        std::uint16_t classAtom;
        std::uint32_t style;
        std::uint16_t x, y, width, height;
        std::wstring text;
    };
    const AboutTexts texts = sampleTexts();
    const std::vector<Expected> expected = {
        {502, 0x0080, 0x50000001u, 32, 97, 50, 16, L"Close"},
        {504, 0x0082, 0x50000000u, 23, 12, 70, 30, texts.title},
        {505, 0x0082, 0x50000000u, 25, 23, 80, 20, texts.versionLines},
        {506, 0x0082, 0x50000001u, 13, 54, 88, 20, texts.heading},
        {507, 0x0082, 0x50000001u, 13, 68, 89, 20, texts.subheading},
        {508, 0x0082, 0x50000101u, 13, 80, 88, 10, texts.linkText},
    };
    TemplateBuffer buffer;
    const std::size_t size = buildAboutTemplate(buffer, texts, L"Tahoma");
    TemplateReader reader{buffer.bytes};
    readHeader(reader);
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.id);
        const TemplateItem item = readItem(reader);
        EXPECT_EQ(item.id, e.id);
        EXPECT_EQ(item.classMarker, 0xFFFF);
        EXPECT_EQ(item.classAtom, e.classAtom);
        EXPECT_EQ(item.style, e.style);
        EXPECT_EQ(item.x, e.x);
        EXPECT_EQ(item.y, e.y);
        EXPECT_EQ(item.width, e.width);
        EXPECT_EQ(item.height, e.height);
        EXPECT_EQ(item.text, e.text);
        EXPECT_EQ(item.creationDataSize, 0);
    }
    EXPECT_EQ(reader.offset, size);
}

TEST(AboutTemplate, WorstCaseTextsStayWithinTheBuffer) {
    const std::wstring longest(99, L'M');
    AboutTexts texts;
    texts.title = texts.versionLines = texts.heading = texts.subheading = texts.linkText =
        longest.c_str();
    TemplateBuffer buffer;
    const std::size_t size = buildAboutTemplate(buffer, texts, longest.c_str());
    EXPECT_LE(size, templateBufferSize);
    TemplateReader reader{buffer.bytes};
    const TemplateHeader h = readHeader(reader);
    EXPECT_EQ(h.typeface, longest);
    const std::vector<TemplateItem> items = readItems(reader, h.itemCount);
    EXPECT_EQ(items.back().text, longest);
    EXPECT_EQ(reader.offset, size);
}

} // namespace
