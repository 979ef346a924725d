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

// One reader of the vendor's, fed line by line.
struct FileScanner {
    Vendor vendor = Vendor::kuka;
    KrlReader krl;
    RapidReader rapid;
    FanucReader fanuc;
};

FileScanner startScan(Vendor vendor);
void scanLine(FileScanner& scanner, const SourceLine& line, const ScanCallbacks& out);
void finishScan(FileScanner& scanner, const ScanCallbacks& out);
std::uint64_t pendingOffset(const FileScanner& scanner);

// Reads a whole stream with the vendor's reader; an overlong line is reported
// as a warning.
LineReadResult scanStream(std::FILE* file, Vendor vendor, const ScanCallbacks& out);

// The same for a text held in memory (one pose given on the command line).
void scanText(std::string_view text, Vendor vendor, const ScanCallbacks& out);
