#pragma once

#include <windows.h>

#include "calculator/field_texts.h"

// Takes the texts of the 35 number fields (701-735) and of the text line
// (736) from the window into texts, each cut to its capacity.
void readFields(HWND window, FieldTexts& texts);

// Puts every field text and the text buffer back into the window; a control
// that already shows its text is left as it is.
void writeFields(HWND window, const FieldTexts& texts);
