#pragma once

#include "calculator/field_texts.h"

// Tries the ABB, KUKA and FANUC readers on the text buffer, in that order, and
// makes the first pose read the current transformation. False when the text
// buffer now holds "Unit length quaternion expected" or "Parsing failed".
bool recognizeRobotText(FieldTexts& texts);
