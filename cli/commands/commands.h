#pragma once

#include "cli/commands/command_line.h"

// Every command of the program, each defined in cli/commands/NAME.cpp;
// cli/main.cpp puts them in the order the help lists them.
extern const Command listCommand;
extern const Command convertCommand;
extern const Command diffCommand;
extern const Command rebaseCommand;
extern const Command translateCommand;
extern const Command notationsCommand;
extern const Command frameCommand;
extern const Command fitCommand;
extern const Command toolCommand;
extern const Command plotCommand;
extern const Command completionCommand;
