#include "cli/output/target_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t copyBlock = std::size_t{1} << 16;

// Names and paths are UTF-8 on every platform.
fs::path pathOf(std::string_view text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string shown(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

char foldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (foldCase(a[k]) != foldCase(b[k])) {
            return false;
        }
    }
    return true;
}

void fail(TargetFolder& target, std::string message) {
    if (!target.failed) {
        target.failed = true;
        target.error = std::move(message);
    }
}

// Appends part `from` to the stream of part 0, then removes it.
bool appendPart(SafeFile& to, SafeFile& from) {
    if (std::fflush(from.stream) != 0 || std::fseek(from.stream, 0, SEEK_SET) != 0) {
        return false;
    }
    char buffer[copyBlock];
    for (;;) {
        const std::size_t read = std::fread(buffer, 1, sizeof buffer, from.stream);
        if (read > 0 && std::fwrite(buffer, 1, read, to.stream) != read) {
            return false;
        }
        if (read < sizeof buffer) {
            return std::ferror(from.stream) == 0;
        }
    }
}

} // namespace

bool openTargetFolder(const fs::path& folder, TargetFolder& target, std::string& error) {
    target = TargetFolder{};
    target.folder = folder;
    std::error_code code;
    if (fs::exists(folder, code) && !fs::is_directory(folder, code)) {
        error = "exists and is not a folder";
        return false;
    }
    fs::create_directories(folder, code);
    if (code) {
        error = "cannot create the folder: " + code.message();
        return false;
    }
    return true;
}

OutputSink targetSink(TargetFolder& target, std::vector<std::size_t>& opened) {
    OutputSink sink;
    sink.open = [&target, &opened](std::string_view name, int parts) {
        TargetFolder::File file;
        file.name = std::string(name);
        file.destination = target.folder / pathOf(file.name);
        for (int part = 0; part < parts; ++part) {
            SafeFile safe;
            std::string error;
            // Parts after the first are read back: open them for both.
            if (!openSafeFile(file.destination, safe, error, "translate")) {
                fail(target, shown(file.destination) + ": " + error);
                for (SafeFile& made : file.parts) {
                    abandonSafeFile(made);
                }
                return -1;
            }
            if (part > 0) {
                std::fclose(safe.stream);
#ifdef _WIN32
                safe.stream = _wfopen(safe.temporary.c_str(), L"w+b");
#else
                safe.stream = std::fopen(safe.temporary.c_str(), "w+b");
#endif
                if (safe.stream == nullptr) {
                    fail(target,
                         shown(file.destination) + ": cannot write: " + std::strerror(errno));
                    abandonSafeFile(safe);
                    return -1;
                }
            }
            file.parts.push_back(safe);
        }
        target.files.push_back(std::move(file));
        opened.push_back(target.files.size() - 1);
        return static_cast<int>(opened.size() - 1);
    };
    sink.append = [&target, &opened](int file, int part, std::string_view text) {
        if (file < 0 || static_cast<std::size_t>(file) >= opened.size()) {
            return;
        }
        TargetFolder::File& f = target.files[opened[static_cast<std::size_t>(file)]];
        SafeFile& safe = f.parts[static_cast<std::size_t>(part)];
        if (safe.stream != nullptr &&
            std::fwrite(text.data(), 1, text.size(), safe.stream) != text.size()) {
            fail(target, shown(f.destination) + ": cannot write: " + std::strerror(errno));
        }
    };
    return sink;
}

bool hasTargetFile(const TargetFolder& target, std::string_view name, std::size_t before) {
    for (std::size_t k = 0; k < before && k < target.files.size(); ++k) {
        if (sameName(target.files[k].name, name)) {
            return true;
        }
    }
    return false;
}

bool commitTargetFolder(TargetFolder& target, std::string& error) {
    if (target.failed) {
        error = target.error;
        abandonTargetFolder(target);
        return false;
    }
    // Every file whole on the disk first, then each renamed into place.
    for (TargetFolder::File& file : target.files) {
        for (std::size_t part = 1; part < file.parts.size(); ++part) {
            if (!appendPart(file.parts[0], file.parts[part])) {
                error = shown(file.destination) + ": cannot write: " + std::strerror(errno);
                abandonTargetFolder(target);
                return false;
            }
            abandonSafeFile(file.parts[part]);
        }
        file.parts.resize(1);
    }
    for (TargetFolder::File& file : target.files) {
        std::string message;
        if (!commitSafeFile(file.parts[0], message)) {
            error = shown(file.destination) + ": " + message;
            abandonTargetFolder(target);
            return false;
        }
        file.parts.clear();
    }
    return true;
}

void abandonTargetFolder(TargetFolder& target) {
    for (TargetFolder::File& file : target.files) {
        for (SafeFile& part : file.parts) {
            abandonSafeFile(part);
        }
        file.parts.clear();
    }
}

std::string targetPathShown(const TargetFolder& target, std::size_t index) {
    return index < target.files.size() ? shown(target.files[index].destination) : std::string();
}
