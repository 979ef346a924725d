#pragma once

#include <windows.h>

// Builds the menu bar: File (Reset, Exit) and Help (Help, About). The window
// that receives it with SetMenu destroys it with itself.
HMENU createMainMenu();
