#include "shell_recorder.h"

#include <vector>

namespace {

const wchar_t browserKey[] = L"Software\\Wine\\WineBrowser";
const wchar_t browsersValue[] = L"Browsers";

// The Unix path of a file of this prefix, from Wine's own kernel32 export;
// empty where there is no Wine.
std::string unixPath(const std::wstring& path) {
    using Converter = char*(__cdecl*)(const wchar_t*);
    const auto convert = reinterpret_cast<Converter>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (convert == nullptr) {
        return {};
    }
    char* converted = convert(path.c_str());
    if (converted == nullptr) {
        return {};
    }
    std::string result = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
        written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::string readFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char chunk[512];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return bytes;
}

} // namespace

ShellRecorder::ShellRecorder() {
    wchar_t temp[MAX_PATH] = {};
    if (GetTempPathW(MAX_PATH, temp) == 0) {
        return;
    }
    folder_ = std::wstring(temp) + L"posebridge-shell-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
    const std::string folder = unixPath(folder_);
    if (folder.empty()) {
        return;
    }
    const std::string script = "#!/bin/sh\necho \"$@\" >> '" + folder + "/opened.txt'\n";
    if (!writeFile(folder_ + L"\\record.sh", script)) {
        return;
    }

    HKEY existing = nullptr;
    hadKey_ = RegOpenKeyExW(HKEY_CURRENT_USER, browserKey, 0, KEY_READ, &existing) == ERROR_SUCCESS;
    if (hadKey_) {
        RegCloseKey(existing);
    }
    wchar_t old[1024] = {};
    DWORD size = sizeof old;
    hadBrowsers_ = RegGetValueW(HKEY_CURRENT_USER, browserKey, browsersValue, RRF_RT_REG_SZ,
                                nullptr, old, &size) == ERROR_SUCCESS;
    oldBrowsers_ = hadBrowsers_ ? old : L"";

    const std::string command = "/bin/sh " + folder + "/record.sh";
    const std::wstring browsers(command.begin(), command.end());
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, browserKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    ready_ = RegSetValueExW(
                 key, browsersValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(browsers.c_str()),
                 static_cast<DWORD>((browsers.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
}

ShellRecorder::~ShellRecorder() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, browserKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        if (hadBrowsers_) {
            RegSetValueExW(key, browsersValue, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(oldBrowsers_.c_str()),
                           static_cast<DWORD>((oldBrowsers_.size() + 1) * sizeof(wchar_t)));
        } else {
            RegDeleteValueW(key, browsersValue);
        }
        RegCloseKey(key);
        if (!hadKey_) {
            RegDeleteKeyW(HKEY_CURRENT_USER, browserKey);
        }
    }
    if (!folder_.empty()) {
        DeleteFileW((folder_ + L"\\opened.txt").c_str());
        DeleteFileW((folder_ + L"\\record.sh").c_str());
        RemoveDirectoryW(folder_.c_str());
    }
}

std::string ShellRecorder::waitForOpened(DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        std::string opened = readFile(folder_ + L"\\opened.txt");
        if (!opened.empty() || GetTickCount64() >= end) {
            return opened;
        }
        Sleep(50);
    }
}
