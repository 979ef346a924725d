#include "ui/about_template.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr DialogRect aboutDialog = {55, 10, 114, 126};
constexpr int aboutPointSize = 9;
constexpr int aboutItemCount = 6;

constexpr std::uint32_t leftStyle = 0x50000000u;   // WS_CHILD | WS_VISIBLE, left-aligned
constexpr std::uint32_t centerStyle = 0x50000001u; // + SS_CENTER
constexpr std::uint32_t linkStyle = 0x50000101u;   // + SS_CENTER + SS_NOTIFY: clicks reach us

// Every text is cut by the template writer to fewer than stringLimit
// characters, so the worst case is known here.
constexpr std::size_t maxTemplateSize =
    maxHeaderSize(5) + maxItemSize(5) + 5 * maxItemSize(stringLimit - 1);
static_assert(maxTemplateSize <= templateBufferSize);

} // namespace

std::size_t buildAboutTemplate(TemplateBuffer& buffer, const AboutTexts& texts,
                               const wchar_t* typeface) {
    TemplateCursor cursor = buffer.bytes;
    writeDialogHeader(cursor, aboutDialog, L"About", aboutPointSize, typeface, aboutItemCount);
    writeButtonItem(cursor, 32, 97, aboutCloseButtonId);
    writeStaticItem(cursor, {23, 12, 70, 30}, texts.title, leftStyle, aboutTitleId);
    // Two lines just under the title, which is drawn in a larger font.
    writeStaticItem(cursor, {25, 23, 80, 20}, texts.versionLines, leftStyle, aboutVersionId);
    writeStaticItem(cursor, {13, 54, 88, 20}, texts.heading, centerStyle, aboutHeadingId);
    writeStaticItem(cursor, {13, 68, 89, 20}, texts.subheading, centerStyle, aboutSubheadingId);
    writeStaticItem(cursor, {13, 80, 88, 10}, texts.linkText, linkStyle, aboutLinkId);
    return static_cast<std::size_t>(cursor - buffer.bytes);
}
