#pragma once

#include <filesystem>
#include <string>

// A folder written whole or not at all: its files go to a temporary folder
// beside the destination, which is renamed to the destination in one step
// once everything is in it, or removed with everything in it. So a refused
// or interrupted run leaves no output folder behind.
struct StagedFolder {
    std::filesystem::path temporary;
    std::filesystem::path destination;
};

// The destination must not exist, or be an empty folder (which is replaced).
bool openStagedFolder(const std::filesystem::path& destination, StagedFolder& folder,
                      std::string& error);
bool commitStagedFolder(StagedFolder& folder, std::string& error);
void abandonStagedFolder(StagedFolder& folder);

// Copies a file byte for byte, keeping its modification time where the
// platform allows; creates the folders it needs.
bool copyFileKeepingTime(const std::filesystem::path& from, const std::filesystem::path& to,
                         std::string& error);
