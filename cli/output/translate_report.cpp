#include "cli/output/translate_report.h"

#include "cli/output/json_writer.h"

#include <cerrno>
#include <cstring>

namespace fs = std::filesystem;

namespace {

struct GeneratedRecord {
    TargetPlace target;
    std::uint32_t what = 0;
};

constexpr std::size_t flushBytes = std::size_t{1} << 16;

// Merging statements of one line: the strongest disposition names the
// line, kept above approximated above translated above structural above
// blank; between equals the first statement's rule stands.
int strength(Disposition disposition) {
    switch (disposition) {
    case Disposition::kept:
        return 4;
    case Disposition::approximated:
        return 3;
    case Disposition::translated:
        return 2;
    case Disposition::structural:
        return 1;
    case Disposition::blank:
        return 0;
    }
    return 0;
}

// A binary scratch file beside the report, read back when done.
bool openScratch(TranslationReport& report, const char* purpose, SafeFile& file,
                 std::FILE** stream) {
    if (!openSafeFile(report.destination, file, report.error, purpose)) {
        return false;
    }
    std::fclose(file.stream);
#ifdef _WIN32
    file.stream = _wfopen(file.temporary.c_str(), L"w+b");
#else
    file.stream = std::fopen(file.temporary.c_str(), "w+b");
#endif
    if (file.stream == nullptr) {
        report.error = std::string("cannot write beside the report: ") + std::strerror(errno);
        return false;
    }
    if (stream != nullptr) {
        *stream = file.stream;
    }
    return true;
}

void count(LineTotals& totals, const LineRecord& record) {
    ++totals.byDisposition[static_cast<int>(record.disposition)];
    for (int k = 1; k < warningCount; ++k) {
        if ((record.warnings >> k) & 1u) {
            ++totals.byWarning[k];
        }
    }
}

void flushPending(TranslationReport& report) {
    if (!report.hasPending) {
        return;
    }
    count(report.program, report.pending);
    if (report.keep && report.records != nullptr) {
        std::fwrite(&report.pending, sizeof report.pending, 1, report.records);
    }
    report.hasPending = false;
}

void appendTarget(std::string& out, const OutputLedger& ledger,
                  const std::vector<std::string>& targetFiles, const TargetPlace& place) {
    const std::uint64_t line = finalLine(ledger, place);
    if (place.file < 0 || line == 0 || static_cast<std::size_t>(place.file) >= targetFiles.size()) {
        out += "null";
        return;
    }
    out += "{\"file\":";
    appendJsonString(out, targetFiles[static_cast<std::size_t>(place.file)]);
    out += ",\"line\":";
    appendJsonUnsigned(out, line);
    out += '}';
}

bool writeText(SafeFile& file, std::string& text, bool force) {
    if (text.size() < flushBytes && !force) {
        return true;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), file.stream) == text.size();
    text.clear();
    return ok;
}

bool copyInto(std::FILE* to, SafeFile& from) {
    if (std::fflush(from.stream) != 0 || std::fseek(from.stream, 0, SEEK_SET) != 0) {
        return false;
    }
    char buffer[1 << 16];
    for (;;) {
        const std::size_t read = std::fread(buffer, 1, sizeof buffer, from.stream);
        if (read > 0 && std::fwrite(buffer, 1, read, to) != read) {
            return false;
        }
        if (read < sizeof buffer) {
            return std::ferror(from.stream) == 0;
        }
    }
}

void closeProgramScratch(TranslationReport& report) {
    abandonSafeFile(report.recordsFile);
    abandonSafeFile(report.generatedFile);
    report.records = nullptr;
    report.generatedRecords = nullptr;
    report.late.clear();
}

} // namespace

bool startReport(TranslationReport& report, const fs::path* destination, std::string& error) {
    report.keep = destination != nullptr;
    if (!report.keep) {
        return true;
    }
    report.destination = *destination;
    if (!openScratch(report, "lines", report.linesJson, nullptr) ||
        !openScratch(report, "generated", report.generatedJson, nullptr)) {
        error = report.error;
        abandonReport(report);
        return false;
    }
    return true;
}

void startReportProgram(TranslationReport& report) {
    report.program = LineTotals{};
    report.hasPending = false;
    report.late.clear();
    if (report.keep) {
        openScratch(report, "records", report.recordsFile, &report.records);
        openScratch(report, "generated-records", report.generatedFile, &report.generatedRecords);
    }
}

void reportStatement(TranslationReport& report, const SourceSpan& place, Disposition disposition,
                     RuleId rule, const std::vector<Note>& notes, bool landed,
                     const TargetPlace& target, std::uint64_t ticket) {
    std::uint32_t warnings = 0;
    for (const Note& note : notes) {
        warnings |= 1u << static_cast<unsigned>(note.code);
    }
    warnings &= ~1u; // none
    for (std::uint64_t line = place.firstLine; line <= place.lastLine; ++line) {
        LineRecord& p = report.pending;
        if (report.hasPending && p.file == place.file && p.line == line) {
            if (strength(disposition) > strength(p.disposition)) {
                p.disposition = disposition;
                p.rule = rule;
            }
            p.warnings |= warnings;
            if (!p.landed && p.ticket == 0 && landed && target.file >= 0) {
                p.landed = true;
                p.target = target;
            }
            continue;
        }
        flushPending(report);
        report.hasPending = true;
        p.file = place.file;
        p.line = line;
        p.disposition = disposition;
        p.rule = rule;
        p.warnings = warnings;
        p.landed = landed;
        p.target = landed ? target : TargetPlace{};
        p.ticket = landed ? 0 : ticket;
        if (line == place.lastLine) {
            break;
        }
    }
}

void reportLate(TranslationReport& report, std::uint64_t ticket, const TargetPlace& place) {
    if (report.keep) {
        report.late[ticket] = place;
    }
}

void reportGenerated(TranslationReport& report, const TargetPlace& place, const char* what) {
    ++report.program.generated;
    if (!report.keep || report.generatedRecords == nullptr) {
        return;
    }
    GeneratedRecord record;
    record.target = place;
    const std::string word = what != nullptr ? what : "";
    std::size_t index = 0;
    while (index < report.whats.size() && report.whats[index] != word) {
        ++index;
    }
    if (index == report.whats.size()) {
        report.whats.push_back(word);
    }
    record.what = static_cast<std::uint32_t>(index);
    std::fwrite(&record, sizeof record, 1, report.generatedRecords);
}

bool finishReportProgram(TranslationReport& report, const OutputLedger& ledger,
                         const std::vector<std::string>& sourceFiles,
                         const std::vector<std::string>& targetFiles) {
    flushPending(report);
    for (int k = 0; k < dispositionCount; ++k) {
        report.run.byDisposition[k] += report.program.byDisposition[k];
    }
    for (int k = 0; k < warningCount; ++k) {
        report.run.byWarning[k] += report.program.byWarning[k];
    }
    report.run.generated += report.program.generated;
    if (!report.keep) {
        return true;
    }
    bool ok = report.records != nullptr && report.generatedRecords != nullptr &&
              std::fflush(report.records) == 0 && std::fseek(report.records, 0, SEEK_SET) == 0;
    std::string out;
    LineRecord record;
    while (ok && std::fread(&record, sizeof record, 1, report.records) == 1) {
        out += report.anyLine ? ",\n" : "\n";
        report.anyLine = true;
        out += "{\"file\":";
        appendJsonString(out, record.file < sourceFiles.size() ? sourceFiles[record.file] : "");
        out += ",\"line\":";
        appendJsonUnsigned(out, record.line);
        out += ",\"disposition\":\"";
        out += dispositionName(record.disposition);
        out += "\",\"rule\":\"";
        out += rule(record.rule).name;
        out += "\",\"warnings\":[";
        bool first = true;
        for (int k = 1; k < warningCount; ++k) {
            if ((record.warnings >> k) & 1u) {
                out += first ? "\"" : ",\"";
                out += warningWord(static_cast<WarningCode>(k));
                out += '"';
                first = false;
            }
        }
        out += "],\"target\":";
        TargetPlace place = record.target;
        if (!record.landed) {
            const auto found = report.late.find(record.ticket);
            place = found != report.late.end() ? found->second : TargetPlace{};
        }
        appendTarget(out, ledger, targetFiles, place);
        out += '}';
        ok = writeText(report.linesJson, out, false);
    }
    ok = ok && writeText(report.linesJson, out, true);
    ok = ok && std::fflush(report.generatedRecords) == 0 &&
         std::fseek(report.generatedRecords, 0, SEEK_SET) == 0;
    GeneratedRecord generated;
    while (ok && std::fread(&generated, sizeof generated, 1, report.generatedRecords) == 1) {
        out += report.anyGenerated ? ",\n" : "\n";
        report.anyGenerated = true;
        out += "{\"target\":";
        appendTarget(out, ledger, targetFiles, generated.target);
        out += ",\"generated\":";
        appendJsonString(out,
                         generated.what < report.whats.size() ? report.whats[generated.what] : "");
        out += '}';
        ok = writeText(report.generatedJson, out, false);
    }
    ok = ok && writeText(report.generatedJson, out, true);
    closeProgramScratch(report);
    if (!ok) {
        report.error = std::string("cannot write beside the report: ") + std::strerror(errno);
    }
    return ok;
}

void dropReportProgram(TranslationReport& report) {
    report.hasPending = false;
    report.program = LineTotals{};
    if (report.keep) {
        closeProgramScratch(report);
    }
}

bool writeReport(TranslationReport& report, const nlohmann::ordered_json& summary, bool withLines,
                 std::string& error) {
    SafeFile file;
    if (!openSafeFile(report.destination, file, error, "translate")) {
        abandonReport(report);
        return false;
    }
    std::string head = "{\"summary\":" + jsonText(summary) + ",\n\"lines\":[";
    bool ok = std::fwrite(head.data(), 1, head.size(), file.stream) == head.size();
    ok = ok && (!withLines || copyInto(file.stream, report.linesJson));
    const std::string middle = "\n],\n\"generated\":[";
    ok = ok && std::fwrite(middle.data(), 1, middle.size(), file.stream) == middle.size();
    ok = ok && (!withLines || copyInto(file.stream, report.generatedJson));
    const std::string tail = "\n]}\n";
    ok = ok && std::fwrite(tail.data(), 1, tail.size(), file.stream) == tail.size();
    abandonReport(report);
    if (!ok) {
        error = std::string("cannot write: ") + std::strerror(errno);
        abandonSafeFile(file);
        return false;
    }
    return commitSafeFile(file, error);
}

void abandonReport(TranslationReport& report) {
    closeProgramScratch(report);
    abandonSafeFile(report.linesJson);
    abandonSafeFile(report.generatedJson);
}

nlohmann::ordered_json dispositionCounts(const LineTotals& totals) {
    nlohmann::ordered_json counts = nlohmann::ordered_json::object();
    for (int k = 0; k < dispositionCount; ++k) {
        counts[dispositionName(static_cast<Disposition>(k))] = totals.byDisposition[k];
    }
    return counts;
}

nlohmann::ordered_json warningCounts(const LineTotals& totals) {
    nlohmann::ordered_json counts = nlohmann::ordered_json::object();
    for (const WarningInfo& info : allWarnings()) {
        const auto k = static_cast<int>(info.code);
        if (totals.byWarning[k] > 0) {
            counts[info.word] = totals.byWarning[k];
        }
    }
    return counts;
}

std::string dispositionCountText(const LineTotals& totals) {
    std::string text;
    for (int k = 0; k < dispositionCount; ++k) {
        text += text.empty() ? "" : ", ";
        std::string number;
        appendJsonUnsigned(number, totals.byDisposition[k]);
        text += number + " " + dispositionName(static_cast<Disposition>(k));
    }
    return text;
}

std::string warningCountText(const LineTotals& totals) {
    std::string text;
    for (const WarningInfo& info : allWarnings()) {
        const auto k = static_cast<int>(info.code);
        if (totals.byWarning[k] > 0) {
            std::string number;
            appendJsonUnsigned(number, totals.byWarning[k]);
            text += (text.empty() ? "" : ", ") + std::string(info.word) + " " + number;
        }
    }
    return text;
}
