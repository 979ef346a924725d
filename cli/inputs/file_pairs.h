#pragma once

#include "cli/inputs/file_list.h"
#include "cli/inputs/file_poses.h"

#include <optional>
#include <string>
#include <vector>

// The files of two backups, paired for comparing them: by `diff`, and by
// `plot --diff`, which draws what diff finds.

// One file as the two backups hold it; either side may lack it.
struct FilePair {
    std::string relative;
    const InputFile* before = nullptr;
    const InputFile* after = nullptr;
};

// Two single files are one program at two times: a backup named NAME.bak
// takes the vendor of the other file's extension. None for folders.
std::optional<Vendor> singleFilesVendor(const std::string& oldPath, const std::string& newPath);

// The files of both sides by relative path, in sorted order. Two single
// files are one pair whatever their names: that is what comparing them means.
std::vector<FilePair> pairFiles(const std::string& oldPath, const std::string& newPath,
                                const std::vector<InputFile>& before,
                                const std::vector<InputFile>& after);

// Every pose of the file, its warnings printed as `list` prints them. False,
// with the file named, when it cannot be read to its end.
bool readPoses(const InputFile& file, const ProgramUses& uses, std::vector<PoseRecord>& poses);
