#pragma once

#include <cstddef>

#include "ui/dialog_template.h"

constexpr int helpCloseButtonId = 503;
constexpr int helpLineCount = 35;

// Writes the Help dialog template at the start of buffer with the given
// dialog typeface; returns the number of bytes written.
std::size_t buildHelpTemplate(TemplateBuffer& buffer, const wchar_t* typeface);
