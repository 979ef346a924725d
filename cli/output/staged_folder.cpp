#include "cli/output/staged_folder.h"

#include <random>
#include <system_error>

namespace fs = std::filesystem;

bool openStagedFolder(const fs::path& destination, StagedFolder& folder, std::string& error) {
    std::error_code code;
    if (fs::exists(destination, code)) {
        if (!fs::is_directory(destination, code) || !fs::is_empty(destination, code)) {
            error = "exists and is not an empty folder: give a new folder, or remove it first";
            return false;
        }
    }
    fs::path absolute = fs::absolute(destination, code).lexically_normal();
    if (!absolute.has_filename()) {
        absolute = absolute.parent_path(); // "out/" names the folder "out"
    }
    fs::create_directories(absolute.parent_path(), code);
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path candidate =
            absolute.parent_path() / (fs::path(".") += absolute.filename() +=
                                      fs::path(".rebase-" + std::to_string(random() % 1000000000)));
        if (fs::create_directory(candidate, code)) {
            folder.temporary = candidate;
            folder.destination = absolute;
            return true;
        }
    }
    error = "cannot create a folder beside it: " + code.message();
    return false;
}

bool commitStagedFolder(StagedFolder& folder, std::string& error) {
    std::error_code code;
    // An empty destination was allowed: it gives way to the complete copy.
    if (fs::exists(folder.destination, code) && fs::is_empty(folder.destination, code)) {
        fs::remove(folder.destination, code);
    }
    fs::rename(folder.temporary, folder.destination, code);
    if (code) {
        error = "cannot put the copy in place: " + code.message();
        abandonStagedFolder(folder);
        return false;
    }
    folder.temporary.clear();
    return true;
}

void abandonStagedFolder(StagedFolder& folder) {
    if (!folder.temporary.empty()) {
        std::error_code ignored;
        fs::remove_all(folder.temporary, ignored);
        folder.temporary.clear();
    }
}

bool copyFileKeepingTime(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code code;
    fs::create_directories(to.parent_path(), code);
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, code)) {
        error = code.message();
        return false;
    }
    const fs::file_time_type time = fs::last_write_time(from, code);
    if (!code) {
        fs::last_write_time(to, time, code); // where the platform allows
    }
    return true;
}
