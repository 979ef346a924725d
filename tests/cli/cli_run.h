#pragma once

// Starts the real posebridge-cli as a user starts it and reads back its
// standard output and exit status: natively with popen, cross-built under
// Wine with _popen (cmd.exe) against posebridge-cli.exe and Windows paths.

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

struct Outcome {
    int status = -1;
    std::string out;
};

inline std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A path of the build machine as this platform's programs name it: under
// Wine, on drive Z: with backslashes.
inline std::string nativePath(std::string path) {
#ifdef _WIN32
    // A folder the test made itself (the temporary folder) is already named
    // the Windows way; only the build machine's own paths need drive Z:.
    if (path.empty() || path.front() != '/') {
        return path;
    }
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    path = "Z:" + path;
#endif
    return path;
}

inline std::string fixtures(const std::string& name = "") {
    return nativePath(std::string(POSEBRIDGE_CLI_FIXTURES) + (name.empty() ? "" : "/" + name));
}

// Runs the program with these arguments (already quoted where needed) and
// standard error thrown away or kept.
inline Outcome run(const std::string& arguments, bool keepErrors = false) {
    std::string command = quoted(nativePath(POSEBRIDGE_CLI_PATH)) + " " + arguments;
    command += keepErrors ? " 2>&1" : "";
#ifdef _WIN32
    // cmd.exe strips one pair of quotes around the whole line.
    command = "\"" + command + "\"";
    std::FILE* pipe = _popen(command.c_str(), "rb");
#else
    command += keepErrors ? "" : " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
#endif
    Outcome result;
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.out.append(buffer, got);
    }
#ifdef _WIN32
    result.status = _pclose(pipe);
#else
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return result;
}

inline std::vector<nlohmann::json> jsonLines(const std::string& text) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(nlohmann::json::parse(line, nullptr, false));
    }
    return lines;
}

// A file's bytes, for comparing a copy with its original.
inline std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder of the test's own in the temporary folder.
inline std::filesystem::path scratch(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("posebridge-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}
