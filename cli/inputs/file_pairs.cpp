#include "cli/inputs/file_pairs.h"
#include "cli/output/messages.h"

#include "cli/inputs/taught_points.h"

#include "cli/output/warning_list.h"
#include "robotfiles/file_scan.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace {

bool isFolder(const std::string& given) {
    std::error_code error;
    return std::filesystem::is_directory(pathFromUtf8(given), error);
}

} // namespace

std::optional<Vendor> singleFilesVendor(const std::string& oldPath, const std::string& newPath) {
    if (isFolder(oldPath) || isFolder(newPath)) {
        return std::nullopt;
    }
    const std::optional<Vendor> vendor = vendorOfPath(newPath);
    return vendor ? vendor : vendorOfPath(oldPath);
}

bool readPoses(const InputFile& file, const ProgramUses& uses, std::vector<PoseRecord>& poses) {
    std::string message;
    if (!readFilePoses(file, uses, poses, message)) {
        printError("{}", message);
        return false;
    }
    return true;
}

std::vector<FilePair> pairFiles(const std::string& oldPath, const std::string& newPath,
                                const std::vector<InputFile>& before,
                                const std::vector<InputFile>& after) {
    std::vector<FilePair> pairs;
    if (!isFolder(oldPath) && !isFolder(newPath) && before.size() == 1 && after.size() == 1) {
        pairs.push_back(FilePair{after[0].relative, &before[0], &after[0]});
        return pairs;
    }
    for (const InputFile& file : before) {
        pairs.push_back(FilePair{file.relative, &file, nullptr});
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const FilePair& a, const FilePair& b) { return a.relative < b.relative; });
    const std::size_t oldCount = pairs.size();
    for (const InputFile& file : after) {
        const auto end = pairs.begin() + static_cast<std::ptrdiff_t>(oldCount);
        const auto found = std::lower_bound(pairs.begin(), end, file.relative,
                                            [](const FilePair& pair, const std::string& relative) {
                                                return pair.relative < relative;
                                            });
        if (found != end && found->relative == file.relative && found->after == nullptr) {
            found->after = &file;
        } else {
            pairs.push_back(FilePair{file.relative, nullptr, &file});
        }
    }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const FilePair& a, const FilePair& b) { return a.relative < b.relative; });
    return pairs;
}
