// Writes dialog templates from arbitrary texts and placements: random header
// and item sequences through the writer itself, and the About and Help
// builders with random texts and typefaces. Texts are of any length, with
// and without a terminator within the first 100 characters. Whatever
// arrives, the writer must stay within the size that buffers are computed
// from, leave every byte it skips alone, put each item on a 4-byte boundary
// and store every field as given.

#include "fuzz/fuzz_input.h"
#include "ui/about_template.h"
#include "ui/dialog_template.h"
#include "ui/help_template.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr unsigned char untouchedByte = 0xA5;
constexpr int maxTextLength = 320;

// A text as a caller hands it over: exactly the allocated units, so reading
// past them is caught. An unterminated text is at least stringLimit long,
// the most the writer may look at.
struct FuzzText {
    std::unique_ptr<wchar_t[]> units;
    std::size_t length = 0; // characters before the terminator, or all of them
};

FuzzText makeText(FuzzedDataProvider& input) {
    FuzzText text;
    const bool terminated = input.ConsumeBool();
    std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, maxTextLength);
    if (!terminated) {
        length = std::max<std::size_t>(length, stringLimit);
    }
    text.length = length;
    text.units.reset(new wchar_t[length + (terminated ? 1 : 0)]);
    // Mostly printable text, but any UTF-16 unit, zero included, may occur.
    for (std::size_t i = 0; i < length; ++i) {
        const auto unit = input.ConsumeIntegral<std::uint16_t>();
        text.units[i] = static_cast<wchar_t>((unit & 0x8000u) != 0 ? unit & 0x7FFFu : unit);
    }
    if (terminated) {
        text.units[length] = L'\0';
    }
    return text;
}

// What a template string must hold: the text up to its first zero when that
// lies among the first stringLimit characters, otherwise nothing.
std::vector<std::uint16_t> expectedString(const wchar_t* text) {
    std::vector<std::uint16_t> units;
    for (int i = 0; i < stringLimit; ++i) {
        if (text[i] == L'\0') {
            return units;
        }
        units.push_back(static_cast<std::uint16_t>(text[i]));
    }
    return {};
}

// The bound a caller sizes its buffer by: no text counts longer than the
// writer ever copies.
std::size_t countedLength(std::size_t length) {
    return std::min<std::size_t>(length, stringLimit - 1);
}

std::uint16_t word16(int value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

// Reads the written template back and never past what was written.
struct Reader {
    const unsigned char* start;
    std::size_t offset;
    std::size_t end;

    std::uint8_t byte() {
        FUZZ_CHECK(offset + 1 <= end);
        return start[offset++];
    }
    std::uint16_t word() {
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | byte() << 8);
    }
    std::uint32_t dword() {
        const std::uint32_t low = word();
        return low | static_cast<std::uint32_t>(word()) << 16;
    }
    // Alignment skips bytes without writing them.
    void align() {
        while (offset % 4 != 0) {
            FUZZ_CHECK(offset < end);
            FUZZ_CHECK(start[offset] == untouchedByte);
            ++offset;
        }
    }
    void expectString(const std::vector<std::uint16_t>& expected) {
        for (std::uint16_t unit : expected) {
            FUZZ_CHECK(word() == unit);
        }
        FUZZ_CHECK(word() == 0);
    }
};

struct HeaderFields {
    DialogRect rect;
    const wchar_t* title;
    int pointSize;
    const wchar_t* typeface;
    int itemCount;
};

void checkHeader(Reader& reader, const HeaderFields& h) {
    reader.align();
    FUZZ_CHECK(reader.word() == 1);
    FUZZ_CHECK(reader.word() == 0xFFFF);
    FUZZ_CHECK(reader.dword() == 0);
    FUZZ_CHECK(reader.dword() == 0);
    FUZZ_CHECK(reader.dword() == dialogStyle);
    FUZZ_CHECK(reader.word() == word16(h.itemCount));
    FUZZ_CHECK(reader.word() == word16(h.rect.x));
    FUZZ_CHECK(reader.word() == word16(h.rect.y));
    FUZZ_CHECK(reader.word() == word16(h.rect.width));
    FUZZ_CHECK(reader.word() == word16(h.rect.height));
    FUZZ_CHECK(reader.word() == 0);
    FUZZ_CHECK(reader.word() == 0);
    reader.expectString(expectedString(h.title));
    FUZZ_CHECK(reader.word() == word16(h.pointSize));
    FUZZ_CHECK(reader.word() == 400);
    FUZZ_CHECK(reader.byte() == 0);
    FUZZ_CHECK(reader.byte() == 0);
    reader.expectString(expectedString(h.typeface));
}

struct ItemFields {
    bool button;
    DialogRect rect;
    const wchar_t* text;
    std::uint32_t style;
    int id;
};

void checkItem(Reader& reader, const ItemFields& item) {
    reader.align();
    FUZZ_CHECK(reader.offset % 4 == 0);
    FUZZ_CHECK(reader.dword() == 0);
    FUZZ_CHECK(reader.dword() == 0);
    FUZZ_CHECK(reader.dword() == (item.button ? closeButtonStyle : item.style));
    FUZZ_CHECK(reader.word() == word16(item.rect.x));
    FUZZ_CHECK(reader.word() == word16(item.rect.y));
    FUZZ_CHECK(reader.word() == word16(item.button ? closeButtonWidth : item.rect.width));
    FUZZ_CHECK(reader.word() == word16(item.button ? closeButtonHeight : item.rect.height));
    FUZZ_CHECK(reader.dword() == static_cast<std::uint32_t>(item.id));
    FUZZ_CHECK(reader.word() == 0xFFFF);
    FUZZ_CHECK(reader.word() == (item.button ? buttonClassAtom : staticClassAtom));
    reader.expectString(expectedString(item.button ? L"Close" : item.text));
    FUZZ_CHECK(reader.word() == 0);
}

DialogRect makeRect(FuzzedDataProvider& input) {
    DialogRect rect;
    rect.x = input.ConsumeIntegral<int>();
    rect.y = input.ConsumeIntegral<int>();
    rect.width = input.ConsumeIntegral<int>();
    rect.height = input.ConsumeIntegral<int>();
    return rect;
}

// A header and up to 40 items written one after another into a buffer of
// exactly the computed maximum size, from a start that need not be aligned.
void fuzzWriter(FuzzedDataProvider& input) {
    const std::size_t startOffset = input.ConsumeIntegralInRange<std::size_t>(0, 3);
    FuzzText title = makeText(input);
    FuzzText typeface = makeText(input);
    HeaderFields header{makeRect(input), title.units.get(), input.ConsumeIntegral<int>(),
                        typeface.units.get(), input.ConsumeIntegral<int>()};

    const int itemCount = input.ConsumeIntegralInRange<int>(0, 40);
    std::vector<FuzzText> texts;
    std::vector<ItemFields> items;
    std::size_t bound = maxHeaderSize(countedLength(title.length));
    for (int i = 0; i < itemCount; ++i) {
        ItemFields item{input.ConsumeBool(), makeRect(input), nullptr,
                        input.ConsumeIntegral<std::uint32_t>(), input.ConsumeIntegral<int>()};
        if (item.button) {
            bound += maxItemSize(5);
        } else {
            texts.push_back(makeText(input));
            item.text = texts.back().units.get();
            bound += maxItemSize(countedLength(texts.back().length));
        }
        items.push_back(item);
    }

    // Aligned storage for the start offset plus the bound, and not a byte more.
    const std::size_t size = startOffset + bound;
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
    FUZZ_CHECK(reinterpret_cast<std::uintptr_t>(buffer.get()) % 4 == 0);
    std::fill(buffer.get(), buffer.get() + size, untouchedByte);

    TemplateCursor cursor = buffer.get() + startOffset;
    writeDialogHeader(cursor, header.rect, header.title, header.pointSize, header.typeface,
                      header.itemCount);
    for (const ItemFields& item : items) {
        if (item.button) {
            writeButtonItem(cursor, item.rect.x, item.rect.y, item.id);
        } else {
            writeStaticItem(cursor, item.rect, item.text, item.style, item.id);
        }
    }
    const auto end = static_cast<std::size_t>(cursor - buffer.get());
    FUZZ_CHECK(end >= startOffset && end <= size);
    for (std::size_t k = 0; k < startOffset; ++k) {
        FUZZ_CHECK(buffer[k] == untouchedByte);
    }
    for (std::size_t k = end; k < size; ++k) {
        FUZZ_CHECK(buffer[k] == untouchedByte);
    }

    Reader reader{buffer.get(), startOffset, end};
    checkHeader(reader, header);
    for (const ItemFields& item : items) {
        checkItem(reader, item);
    }
    FUZZ_CHECK(reader.offset == end);
}

// The builders put whole templates into the program's fixed buffer; it is
// allocated on its own so that a write past it is caught.
void checkBuilt(const TemplateBuffer& buffer, std::size_t size) {
    FUZZ_CHECK(size <= templateBufferSize);
    for (std::size_t k = size; k < templateBufferSize; ++k) {
        FUZZ_CHECK(buffer.bytes[k] == untouchedByte);
    }
}

void fuzzAbout(FuzzedDataProvider& input) {
    FuzzText typeface = makeText(input);
    FuzzText parts[5];
    for (FuzzText& part : parts) {
        part = makeText(input);
    }
    AboutTexts texts;
    texts.title = parts[0].units.get();
    texts.versionLines = parts[1].units.get();
    texts.heading = parts[2].units.get();
    texts.subheading = parts[3].units.get();
    texts.linkText = parts[4].units.get();

    auto buffer = std::make_unique<TemplateBuffer>();
    std::fill(buffer->bytes, buffer->bytes + templateBufferSize, untouchedByte);
    const std::size_t size = buildAboutTemplate(*buffer, texts, typeface.units.get());
    checkBuilt(*buffer, size);

    Reader reader{buffer->bytes, 0, size};
    checkHeader(reader, {{55, 10, 114, 126}, L"About", 9, typeface.units.get(), 6});
    checkItem(reader, {true, {32, 97, 0, 0}, nullptr, 0, aboutCloseButtonId});
    checkItem(reader, {false, {23, 12, 70, 30}, texts.title, 0x50000000u, aboutTitleId});
    checkItem(reader, {false, {25, 23, 80, 20}, texts.versionLines, 0x50000000u, aboutVersionId});
    checkItem(reader, {false, {13, 54, 88, 20}, texts.heading, 0x50000001u, aboutHeadingId});
    checkItem(reader, {false, {13, 68, 89, 20}, texts.subheading, 0x50000001u, aboutSubheadingId});
    checkItem(reader, {false, {13, 80, 88, 10}, texts.linkText, 0x50000101u, aboutLinkId});
    FUZZ_CHECK(reader.offset == size);
}

// Help's own texts are fixed; only the typeface comes from outside.
void fuzzHelp(FuzzedDataProvider& input) {
    FuzzText typeface = makeText(input);
    auto buffer = std::make_unique<TemplateBuffer>();
    std::fill(buffer->bytes, buffer->bytes + templateBufferSize, untouchedByte);
    const std::size_t size = buildHelpTemplate(*buffer, typeface.units.get());
    checkBuilt(*buffer, size);

    Reader reader{buffer->bytes, 0, size};
    checkHeader(reader, {{25, -20, 210, 296}, L"Help", 8, typeface.units.get(), 36});
    checkItem(reader, {true, {80, 270, 0, 0}, nullptr, 0, helpCloseButtonId});
    // The lines themselves are the builder's tests' business; here each must
    // be a well-formed static item of the line column.
    for (int line = 0; line < helpLineCount; ++line) {
        reader.align();
        FUZZ_CHECK(reader.dword() == 0);
        FUZZ_CHECK(reader.dword() == 0);
        FUZZ_CHECK(reader.dword() == 0x50000000u);
        FUZZ_CHECK(reader.word() == 15);
        reader.word(); // y
        FUZZ_CHECK(reader.word() == 180);
        FUZZ_CHECK(reader.word() == 8);
        FUZZ_CHECK(reader.dword() == 0xFFFFFFFFu);
        FUZZ_CHECK(reader.word() == 0xFFFF);
        FUZZ_CHECK(reader.word() == staticClassAtom);
        while (reader.word() != 0) {
        }
        FUZZ_CHECK(reader.word() == 0);
    }
    FUZZ_CHECK(reader.offset == size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    switch (input.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
        fuzzWriter(input);
        break;
    case 1:
        fuzzAbout(input);
        break;
    default:
        fuzzHelp(input);
        break;
    }
    return 0;
}
