#include "robotfiles/program_readers.h"

#include "robotfiles/line_reader.h"

void startProgramReader(ProgramReader& reader, const ProgramInfo& program, PointTable& points) {
    reader.vendor = program.vendor;
    switch (program.vendor) {
    case Vendor::kuka:
        startKrlProgramReader(reader.krl, points, program.mainRoutine, program.files.size());
        break;
    case Vendor::abb:
        startRapidProgramReader(reader.rapid, points);
        break;
    case Vendor::fanuc:
        startFanucProgramReader(reader.fanuc, points);
        break;
    }
}

void startProgramNotes(ProgramReader& reader, std::uint32_t) {
    if (reader.vendor == Vendor::abb) {
        startRapidSplitter(reader.rapid.splitter);
        reader.rapid.noteInRoutine = false;
    }
}

void noteProgramLine(ProgramReader& reader, std::uint32_t file, std::string_view fileName,
                     const SourceLine& line) {
    switch (reader.vendor) {
    case Vendor::kuka:
        noteKrlProgramLine(reader.krl, file, fileName, line);
        break;
    case Vendor::abb:
        noteRapidProgramLine(reader.rapid, line);
        break;
    case Vendor::fanuc:
        noteFanucProgramLine(reader.fanuc, line);
        break;
    }
}

void finishProgramNotes(ProgramReader& reader, std::uint32_t) {
    switch (reader.vendor) {
    case Vendor::kuka:
        break;
    case Vendor::abb:
        finishRapidNotes(reader.rapid);
        break;
    case Vendor::fanuc:
        finishFanucNotes(reader.fanuc);
        break;
    }
}

void startProgramFile(ProgramReader& reader, std::uint32_t file, std::string_view fileName) {
    switch (reader.vendor) {
    case Vendor::kuka:
        startKrlProgramFile(reader.krl, file, fileName);
        break;
    case Vendor::abb:
        startRapidProgramFile(reader.rapid, file);
        break;
    case Vendor::fanuc:
        startFanucProgramFile(reader.fanuc, file);
        break;
    }
}

void readProgramLine(ProgramReader& reader, const SourceLine& line, const ProgramInput& out) {
    switch (reader.vendor) {
    case Vendor::kuka:
        readKrlProgramLine(reader.krl, line, out);
        break;
    case Vendor::abb:
        readRapidProgramLine(reader.rapid, line, out);
        break;
    case Vendor::fanuc:
        readFanucProgramLine(reader.fanuc, line, out);
        break;
    }
}

void finishProgramFile(ProgramReader& reader, const ProgramInput& out) {
    switch (reader.vendor) {
    case Vendor::kuka:
        finishKrlProgramFile(reader.krl, out);
        break;
    case Vendor::abb:
        finishRapidProgramFile(reader.rapid, out);
        break;
    case Vendor::fanuc:
        finishFanucProgramFile(reader.fanuc, out);
        break;
    }
}

void readProgramText(const ProgramInfo& program, std::span<const std::string_view> texts,
                     PointTable& points, const ProgramInput& out) {
    ProgramReader reader;
    startProgramReader(reader, program, points);
    const auto name = [&](std::size_t k) {
        return k < program.files.size() ? std::string_view(program.files[k]) : std::string_view();
    };
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const auto file = static_cast<std::uint32_t>(k);
        startProgramNotes(reader, file);
        forEachTextLine(texts[k], [&](const SourceLine& line) {
            noteProgramLine(reader, file, name(k), line);
        });
        finishProgramNotes(reader, file);
    }
    for (std::size_t k = 0; k < texts.size(); ++k) {
        startProgramFile(reader, static_cast<std::uint32_t>(k), name(k));
        forEachTextLine(texts[k],
                        [&](const SourceLine& line) { readProgramLine(reader, line, out); });
        finishProgramFile(reader, out);
    }
}
