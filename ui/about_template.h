#pragma once

#include <cstddef>

#include "ui/dialog_template.h"

constexpr int aboutCloseButtonId = 502;
constexpr int aboutTitleId = 504;
constexpr int aboutVersionId = 505;
constexpr int aboutHeadingId = 506;
constexpr int aboutSubheadingId = 507;
constexpr int aboutLinkId = 508;

// The texts the About box shows, top to bottom.
struct AboutTexts {
    const wchar_t* title = L"";
    const wchar_t* versionLines = L""; // version and build date
    const wchar_t* heading = L"";
    const wchar_t* subheading = L"";
    const wchar_t* linkText = L"";
};

// Writes the About dialog template at the start of buffer with the given
// dialog typeface; returns the number of bytes written.
std::size_t buildAboutTemplate(TemplateBuffer& buffer, const AboutTexts& texts,
                               const wchar_t* typeface);
