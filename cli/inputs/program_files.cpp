#include "cli/inputs/program_files.h"

#include "robotfiles/scan_text.h"

#include <map>
#include <system_error>

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

// The .dat of the same name beside a KRL code file that was named alone:
// a user gives pick.src and means the program, whose points are in pick.dat.
bool dataBeside(const InputFile& code, InputFile& data) {
    std::error_code error;
    const fs::path folder = code.path.has_parent_path() ? code.path.parent_path() : fs::path(".");
    const std::string stem = folded(utf8FromPath(code.path.stem()));
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& candidate = it->path();
        if (folded(utf8FromPath(candidate.extension())) == ".dat" &&
            folded(utf8FromPath(candidate.stem())) == stem && it->is_regular_file(error)) {
            data = code;
            data.path = code.path.has_parent_path() ? candidate : candidate.filename();
            data.shown = utf8FromPath(data.path);
            return true;
        }
    }
    return false;
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
        InputFile beside;
        if (found != data.end()) {
            program.files.push_back(*found->second);
            withCode[found->first] = true;
        } else if (dataBeside(file, beside)) {
            program.files.push_back(beside);
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
