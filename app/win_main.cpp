#include <windows.h>

#include "app/application.h"

// The command line is ignored; the show command is honoured.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return runApplication(instance, showCommand);
}
