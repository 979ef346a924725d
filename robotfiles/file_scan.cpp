#include "robotfiles/file_scan.h"

#include "robotfiles/scan_text.h"

#include <cstring>

std::optional<Vendor> vendorOfPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    const std::string_view extension = path.substr(dot + 1);
    const struct {
        const char* extension;
        Vendor vendor;
    } known[] = {{"dat", Vendor::kuka}, {"src", Vendor::kuka}, {"sub", Vendor::kuka},
                 {"mod", Vendor::abb},  {"modx", Vendor::abb}, {"sys", Vendor::abb},
                 {"prg", Vendor::abb},  {"ls", Vendor::fanuc}};
    for (const auto& entry : known) {
        if (equalsNoCase(extension, entry.extension)) {
            return entry.vendor;
        }
    }
    return std::nullopt;
}

FileScanner startScan(Vendor vendor, const ScanContext& context) {
    FileScanner scanner;
    scanner.vendor = vendor;
    switch (vendor) {
    case Vendor::kuka:
        startKrl(scanner.krl, context.fileName, context.krlUsage);
        break;
    case Vendor::abb:
        startRapid(scanner.rapid, context.fileName);
        break;
    case Vendor::fanuc:
        startFanuc(scanner.fanuc, context.fileName);
        break;
    }
    return scanner;
}

void scanLine(FileScanner& scanner, const SourceLine& line, const ScanCallbacks& out) {
    if (line.overlong && out.warning) {
        out.warning(ScanWarning{line.number, 1, "line longer than 1 MiB: not read"});
    }
    // No robot program holds a NUL byte: the file is something else with a
    // program's extension (an archive, a compiled .TP renamed). Said once.
    if (!scanner.warnedNotText && out.warning &&
        std::memchr(line.text.data(), '\0', line.text.size()) != nullptr) {
        scanner.warnedNotText = true;
        const auto at =
            static_cast<const char*>(std::memchr(line.text.data(), '\0', line.text.size())) -
            line.text.data();
        out.warning(ScanWarning{line.number, static_cast<std::uint64_t>(at) + 1,
                                "not a program: the file holds bytes that are not text"});
    }
    switch (scanner.vendor) {
    case Vendor::kuka:
        readKrlLine(scanner.krl, line, out);
        break;
    case Vendor::abb:
        readRapidLine(scanner.rapid, line, out);
        break;
    case Vendor::fanuc:
        readFanucLine(scanner.fanuc, line, out);
        break;
    }
}

void finishScan(FileScanner& scanner, const ScanCallbacks& out) {
    switch (scanner.vendor) {
    case Vendor::kuka:
        finishKrl(scanner.krl, out);
        break;
    case Vendor::abb:
        finishRapid(scanner.rapid, out);
        break;
    case Vendor::fanuc:
        finishFanuc(scanner.fanuc, out);
        break;
    }
}

std::uint64_t pendingOffset(const FileScanner& scanner) {
    switch (scanner.vendor) {
    case Vendor::kuka:
        return krlPendingOffset(scanner.krl);
    case Vendor::abb:
        return rapidPendingOffset(scanner.rapid);
    case Vendor::fanuc:
        return fanucPendingOffset(scanner.fanuc);
    }
    return 0;
}

LineReadResult scanStream(std::FILE* file, Vendor vendor, const ScanCallbacks& out,
                          const ScanContext& context) {
    FileScanner scanner = startScan(vendor, context);
    LineReadResult result =
        forEachLine(file, [&](const SourceLine& line) { scanLine(scanner, line, out); });
    if (result.ok) {
        finishScan(scanner, out);
    }
    return result;
}

void scanText(std::string_view text, Vendor vendor, const ScanCallbacks& out,
              const ScanContext& context) {
    FileScanner scanner = startScan(vendor, context);
    forEachTextLine(text, [&](const SourceLine& line) { scanLine(scanner, line, out); });
    finishScan(scanner, out);
}
