#pragma once

// The readers examine at most the first 511 bytes of a text, narrowed to the
// system's ANSI code page; byte 511 is always a terminator.
constexpr int narrowBufferSize = 512;

// Narrows zero-terminated UTF-16 text into buffer. Text longer than the
// buffer is cut, not refused. On Windows the active ANSI code page is used;
// elsewhere ASCII keeps its codes and every other unit becomes one '?'.
void narrowText(const wchar_t* text, char (&buffer)[narrowBufferSize]);
