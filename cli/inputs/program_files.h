#pragma once

#include "cli/inputs/file_list.h"

#include <string>
#include <vector>

// The programs among the files a command was given, each with the files a
// translation reads for it: a KRL .src (or .sub) with the .dat of the same
// name beside it, the .dat first, since it declares what the code moves
// to; a .dat without its code alone; a RAPID module; a FANUC program.
// KRL's system files ($config.dat, $machine.dat) hold the controller's
// frames and settings, no program: they are left out, and said so.
struct ProgramFiles {
    std::string name; // the program's file name without its extension
    Vendor vendor = Vendor::kuka;
    std::vector<InputFile> files;
};

struct ProgramList {
    std::vector<ProgramFiles> programs;
    std::vector<std::string> skipped; // as shown
};

ProgramList groupPrograms(const std::vector<InputFile>& files);
