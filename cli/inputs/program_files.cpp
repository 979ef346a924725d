#include "cli/inputs/program_files.h"

#include "robotfiles/scan_text.h"

#include <map>

namespace fs = std::filesystem;

namespace {

std::string folded(std::string text) {
    for (char& c : text) {
        c = lowerByte(c);
    }
    return text;
}

std::string extensionOf(const InputFile& file) {
    return folded(utf8FromPath(file.path.extension()));
}

// The folder and the name without extension, letters folded: what pairs
// pick.src with PICK.DAT.
std::string pairKey(const InputFile& file) {
    return folded(utf8FromPath(file.path.parent_path() / file.path.stem()));
}

} // namespace

ProgramList groupPrograms(const std::vector<InputFile>& files) {
    ProgramList list;
    std::map<std::string, const InputFile*> data;
    std::map<std::string, bool> withCode;
    for (const InputFile& file : files) {
        if (file.vendor == Vendor::kuka && extensionOf(file) == ".dat") {
            data.emplace(pairKey(file), &file);
        }
    }
    for (const InputFile& file : files) {
        const std::string name = utf8FromPath(file.path.stem());
        if (file.vendor != Vendor::kuka) {
            list.programs.push_back(ProgramFiles{name, file.vendor, {file}});
            continue;
        }
        if (!name.empty() && name[0] == '$') {
            list.skipped.push_back(file.shown);
            continue;
        }
        const std::string extension = extensionOf(file);
        if (extension == ".dat") {
            continue; // with its code, or alone below
        }
        ProgramFiles program{name, Vendor::kuka, {}};
        const auto found = data.find(pairKey(file));
        if (found != data.end()) {
            program.files.push_back(*found->second);
            withCode[found->first] = true;
        }
        program.files.push_back(file);
        list.programs.push_back(std::move(program));
    }
    for (const InputFile& file : files) {
        const std::string name = utf8FromPath(file.path.stem());
        if (file.vendor == Vendor::kuka && extensionOf(file) == ".dat" && !name.empty() &&
            name[0] != '$' && !withCode[pairKey(file)]) {
            list.programs.push_back(ProgramFiles{name, Vendor::kuka, {file}});
        }
    }
    return list;
}
