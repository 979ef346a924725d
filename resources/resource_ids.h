#pragma once

// Resource identifiers shared by the resource script and the code. Only
// preprocessor definitions: the resource compiler reads this file too.

// The class icon (48 x 48 and 32 x 32) and the small icon (16 x 16).
#define POSEBRIDGE_ICON_LARGE 1
#define POSEBRIDGE_ICON_SMALL 2

// The F1 key sends its own command number, not the Help menu entry's.
#define POSEBRIDGE_HELP_KEY_COMMAND 1008
