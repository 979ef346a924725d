#include "cli/inputs/file_list.h"

#include "robotfiles/file_scan.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace fs = std::filesystem;

std::filesystem::path pathFromUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::FILE* openForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

namespace {

// Appends the files below a folder that a reader takes, sorted by path.
void addFolder(const std::string& given, FileListResult& result) {
    const fs::path root = pathFromUtf8(given);
    std::vector<fs::path> found;
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && vendorOfPath(utf8FromPath(it->path().filename()))) {
            found.push_back(it->path());
        }
    }
    if (error) {
        result.errors.push_back(given + ": cannot read the folder: " + error.message());
    }
    if (found.empty() && !error) {
        result.emptyFolders.push_back(given);
    }
    std::sort(found.begin(), found.end());
    for (const fs::path& path : found) {
        InputFile file;
        file.path = path;
        file.shown = utf8FromPath(path);
        file.relative = utf8FromPath(path.lexically_relative(root).generic_u8string());
        file.vendor = *vendorOfPath(utf8FromPath(path.filename()));
        result.files.push_back(file);
    }
}

} // namespace

FileListResult listInputFiles(const std::vector<std::string>& paths,
                              std::optional<Vendor> forcedVendor) {
    FileListResult result;
    for (const std::string& given : paths) {
        if (given == "-") {
            if (!forcedVendor) {
                result.errors.push_back("-: standard input needs --vendor kuka|abb|fanuc");
                continue;
            }
            InputFile file;
            // Assigned as one character: GCC 12 warns falsely of overlap for "-".
            file.shown.assign(1, '-');
            file.relative = file.shown;
            file.vendor = *forcedVendor;
            file.standardInput = true;
            result.files.push_back(file);
            continue;
        }
        const fs::path path = pathFromUtf8(given);
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (error || !fs::exists(status)) {
            result.errors.push_back(given + ": no such file or folder");
        } else if (fs::is_directory(status)) {
            addFolder(given, result);
        } else {
            const std::optional<Vendor> vendor =
                forcedVendor ? forcedVendor : vendorOfPath(utf8FromPath(path.filename()));
            if (!vendor) {
                result.errors.push_back(given +
                                        ": not a KUKA, ABB or FANUC program by its extension; "
                                        "name the vendor with --vendor");
                continue;
            }
            InputFile file;
            file.path = path;
            file.shown = given;
            file.relative = utf8FromPath(path.filename());
            file.vendor = *vendor;
            result.files.push_back(file);
        }
    }
    return result;
}

std::string fileNameOf(const InputFile& file) {
    return utf8FromPath(file.path.filename());
}
