#pragma once

#include "ui/interface_texts.h"

// The program stores the interface texts scrambled; unscrambleAllTexts makes
// the readable strings of interfaceTexts once at start-up, before anything
// uses them, and they are kept for the whole run.

// Unscrambles a stored text (at most its first 128 bytes) and converts it from
// the ANSI code page into a new UTF-16 string, which is never freed.
void unscrambleText(const char* stored, const wchar_t*& destination);
void unscrambleAllTexts();
