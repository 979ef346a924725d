#include "cli/output/safe_file.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

bool openSafeFile(const fs::path& destination, SafeFile& file, std::string& error,
                  std::string_view purpose) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    file.destination = destination;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path candidate =
            destination.parent_path() / (fs::path(".") += destination.filename() +=
                                         fs::path("." + std::string(purpose) + "-" +
                                                  std::to_string(random() % 1000000000) + ".tmp"));
        std::error_code exists;
        if (fs::exists(candidate, exists)) {
            continue;
        }
#ifdef _WIN32
        file.stream = _wfopen(candidate.c_str(), L"wb");
#else
        file.stream = std::fopen(candidate.c_str(), "wbx");
#endif
        if (file.stream != nullptr) {
            file.temporary = candidate;
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    error = std::string("cannot create a file in its folder: ") + std::strerror(errno);
    return false;
}

bool commitSafeFile(SafeFile& file, std::string& error) {
    bool ok = std::fflush(file.stream) == 0;
#ifdef _WIN32
    ok = ok && _commit(_fileno(file.stream)) == 0;
#else
    ok = ok && fsync(fileno(file.stream)) == 0;
#endif
    ok = std::fclose(file.stream) == 0 && ok;
    file.stream = nullptr;
    if (!ok) {
        error = std::string("cannot write: ") + std::strerror(errno);
        abandonSafeFile(file);
        return false;
    }
    std::error_code renamed;
    fs::rename(file.temporary, file.destination, renamed);
    if (renamed) {
        error = "cannot put the result in place: " + renamed.message();
        abandonSafeFile(file);
        return false;
    }
    return true;
}

void abandonSafeFile(SafeFile& file) {
    if (file.stream != nullptr) {
        std::fclose(file.stream);
        file.stream = nullptr;
    }
    std::error_code ignored;
    fs::remove(file.temporary, ignored);
}
