#pragma once

#include "robotfiles/pose_record.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// One file a command reads: where it is, how to name it in output and
// messages, its path relative to the PATH argument it was found under, and
// the reader it takes.
struct InputFile {
    std::filesystem::path path;
    std::string shown;    // UTF-8, as given or found
    std::string relative; // UTF-8 with '/', for matching two backups
    Vendor vendor = Vendor::kuka;
    bool standardInput = false;
};

struct FileListResult {
    std::vector<InputFile> files;
    std::vector<std::string> errors; // each names the path and what went wrong
    // Folders given that hold no file a reader takes, as given.
    std::vector<std::string> emptyFolders;
};

// Expands files and folders (recursively, files picked by extension, in
// sorted path order within each PATH) and "-" for standard input. A file
// named on its own needs a known extension or the forced vendor.
FileListResult listInputFiles(const std::vector<std::string>& paths,
                              std::optional<Vendor> forcedVendor);

// A path given in UTF-8 on any platform.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string utf8FromPath(const std::filesystem::path& path);

// The file's own name, without its folders, in UTF-8.
std::string fileNameOf(const InputFile& file);

// Opens for reading in binary mode, also names outside the ANSI code page on
// Windows; nullptr with errno set when it cannot.
std::FILE* openForReading(const std::filesystem::path& path);
