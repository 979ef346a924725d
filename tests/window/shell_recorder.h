#pragma once

#include <string>

#include <windows.h>

// Makes the shell's "open" of a web link harmless and observable: Wine opens
// links with winebrowser, which starts the programs listed in
// HKCU\Software\Wine\WineBrowser "Browsers". For its lifetime the recorder
// lists a small shell script there that appends its arguments to a file;
// afterwards the earlier setting is restored and the files are removed.
class ShellRecorder {
  public:
    ShellRecorder();
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    // False when the setting could not be made (not under Wine).
    bool ready() const { return ready_; }

    // What the script recorded, one line per call, once something is there
    // (empty when nothing came within the time).
    std::string waitForOpened(DWORD timeoutMs) const;

  private:
    bool ready_ = false;
    bool hadKey_ = false;
    bool hadBrowsers_ = false;
    std::wstring oldBrowsers_;
    std::wstring folder_; // Windows path of the recorder's folder
};
