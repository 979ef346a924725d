#include "robotfiles/program_output.h"

#include "robotfiles/scan_text.h"

#include <charconv>
#include <system_error>

int openTarget(OutputLedger& ledger, std::string_view name, int parts) {
    const int file = ledger.sink.open ? ledger.sink.open(name, parts) : -1;
    if (file < 0) {
        return -1;
    }
    const auto index = static_cast<std::size_t>(file);
    if (ledger.names.size() <= index) {
        ledger.names.resize(index + 1);
        ledger.lines.resize(index + 1);
    }
    ledger.names[index] = std::string(name);
    ledger.lines[index].assign(static_cast<std::size_t>(parts), 0);
    return file;
}

TargetPlace appendLine(OutputLedger& ledger, int file, int part, std::string_view text) {
    TargetPlace place;
    if (file < 0 || static_cast<std::size_t>(file) >= ledger.lines.size() || part < 0 ||
        static_cast<std::size_t>(part) >= ledger.lines[static_cast<std::size_t>(file)].size()) {
        return place;
    }
    std::uint64_t& count =
        ledger.lines[static_cast<std::size_t>(file)][static_cast<std::size_t>(part)];
    ++count;
    place.file = file;
    place.part = part;
    place.line = count;
    if (ledger.sink.append) {
        ledger.sink.append(file, part, text);
        ledger.sink.append(file, part, targetLineEnd);
    }
    return place;
}

TargetPlace appendGenerated(OutputLedger& ledger, int file, int part, std::string_view text,
                            const char* what) {
    const TargetPlace place = appendLine(ledger, file, part, text);
    if (place.file >= 0 && ledger.report.generated) {
        ledger.report.generated(place, what);
    }
    return place;
}

void reportLanded(const OutputLedger& ledger, std::uint64_t ticket, const TargetPlace& place) {
    if (ledger.report.landed) {
        ledger.report.landed(ticket, place);
    }
}

std::uint64_t finalLine(const OutputLedger& ledger, const TargetPlace& place) {
    if (place.file < 0 || static_cast<std::size_t>(place.file) >= ledger.lines.size()) {
        return 0;
    }
    const std::vector<std::uint64_t>& parts = ledger.lines[static_cast<std::size_t>(place.file)];
    std::uint64_t before = 0;
    for (int part = 0; part < place.part && static_cast<std::size_t>(part) < parts.size(); ++part) {
        before += parts[static_cast<std::size_t>(part)];
    }
    return before + place.line;
}

std::string plainDecimal(float value) {
    if (value == 0.0f) {
        return "0";
    }
    std::string text = shortestFloat(value);
    if (text.find_first_of("eE") == std::string::npos) {
        return text;
    }
    // Fixed notation, still the shortest that reads back: at most 39 digits
    // before the point and 45 after it for a float.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) {
        return text;
    }
    return std::string(buffer, result.ptr);
}

std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = ' ';
        }
    }
    return out;
}

std::string notesText(const std::vector<Note>& notes) {
    std::string text;
    for (const Note& note : notes) {
        text += text.empty() ? "" : ", ";
        text += warningWord(note.code);
        if (!note.was.empty()) {
            text += " (was " + oneLine(note.was) + ")";
        }
    }
    return text;
}

std::string keptLabel(WarningCode code, std::string_view file, std::uint64_t line) {
    return std::string(warningWord(code)) + " " + oneLine(file) + ":" + std::to_string(line);
}

std::string_view sourceFileName(const std::vector<std::string>& files, const SourceSpan& place) {
    return place.file < files.size() ? std::string_view(files[place.file]) : std::string_view();
}
