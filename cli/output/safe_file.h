#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// Writing a file so that no reader, and no interruption, ever sees it half
// written: the bytes go to a temporary file beside it, which is flushed to
// the disk and then renamed over the destination in one step.
struct SafeFile {
    std::FILE* stream = nullptr;
    std::filesystem::path temporary;
    std::filesystem::path destination;
};

// Opens a new temporary file in the destination's folder, named
// ".NAME.PURPOSE-NNN.tmp" so that one left by a killed run says whose it is.
bool openSafeFile(const std::filesystem::path& destination, SafeFile& file, std::string& error,
                  std::string_view purpose = "rebase");
// Flushes, syncs, closes and renames it over the destination.
bool commitSafeFile(SafeFile& file, std::string& error);
// Closes and removes the temporary file; the destination is not touched.
void abandonSafeFile(SafeFile& file);
