#pragma once

#include "robotfiles/fanuc/fanuc_reader.h"
#include "robotfiles/krl/krl_reader.h"
#include "robotfiles/line_reader.h"
#include "robotfiles/rapid/rapid_reader.h"

#include <cstdio>
#include <optional>
#include <string_view>

// The vendor whose programs use this file name's extension (case-insensitive):
// .dat .src .sub KUKA KRL; .mod .modx .sys .prg ABB RAPID; .ls FANUC.
std::optional<Vendor> vendorOfPath(std::string_view path);

// What a reader knows of a file besides its bytes: its name without folders
// (KRL's $config.dat holds only frames, a .dat data, a .src code), and how
// the KRL programs read use the names it declares. Without them a reader
// takes the file as it comes: a .dat's FRAME then is a frame, a variable
// named by LIN_REL elsewhere an ordinary position.
struct ScanContext {
    std::string_view fileName;
    const KrlUsage* krlUsage = nullptr;
};

// One reader of the vendor's, fed line by line.
struct FileScanner {
    Vendor vendor = Vendor::kuka;
    bool warnedNotText = false;
    KrlReader krl;
    RapidReader rapid;
    FanucReader fanuc;
};

FileScanner startScan(Vendor vendor, const ScanContext& context = {});
void scanLine(FileScanner& scanner, const SourceLine& line, const ScanCallbacks& out);
void finishScan(FileScanner& scanner, const ScanCallbacks& out);
std::uint64_t pendingOffset(const FileScanner& scanner);

// Reads a whole stream with the vendor's reader; an overlong line is reported
// as a warning.
LineReadResult scanStream(std::FILE* file, Vendor vendor, const ScanCallbacks& out,
                          const ScanContext& context = {});

// The same for a text held in memory (one pose given on the command line).
void scanText(std::string_view text, Vendor vendor, const ScanCallbacks& out,
              const ScanContext& context = {});
