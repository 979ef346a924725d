#pragma once

#include "cli/output/safe_file.h"
#include "robotfiles/program_output.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The program files a translation writes into its output folder, each part
// of each file streamed to a temporary file of its own beside the
// destination (a RAPID module's data grows while its routines are written
// after it), and put in place only when the whole run is done: the parts
// joined, synced, and the result renamed over the destination. A refused
// or interrupted run leaves no program file under its name, only the
// hidden temporaries of a killed run (".NAME.translate-NNN.tmp").
struct TargetFolder {
    struct File {
        std::string name; // as the writer named it: PICK.mod
        std::filesystem::path destination;
        std::vector<SafeFile> parts;
    };
    std::filesystem::path folder;
    std::vector<File> files;
    bool failed = false;
    std::string error; // the first trouble, naming the file
};

// The folder is created when missing.
bool openTargetFolder(const std::filesystem::path& folder, TargetFolder& target,
                      std::string& error);

// A sink for one program's ledger: its file numbers are its own, in the
// order it opened them; `opened` lists the folder's index of each.
OutputSink targetSink(TargetFolder& target, std::vector<std::size_t>& opened);

// Whether a file of that name (letters compared without regard to case, as
// Windows does) is already among the run's files.
bool hasTargetFile(const TargetFolder& target, std::string_view name, std::size_t before);

// Joins each file's parts and renames it over its destination.
bool commitTargetFolder(TargetFolder& target, std::string& error);
// Removes every temporary file; no destination is touched.
void abandonTargetFolder(TargetFolder& target);

// The path a file is shown by: the folder as given, then its name.
std::string targetPathShown(const TargetFolder& target, std::size_t index);
