#pragma once

#include "calculator/field_texts.h"

// The four field imports. Each returns true when the current transformation
// was replaced, false when the text buffer now holds the message to show.
bool importKuka(FieldTexts& texts);
bool importFanuc(FieldTexts& texts);
bool importAbb(FieldTexts& texts);
bool importMatrix(FieldTexts& texts);
