#include "robotfiles/program_writers.h"

bool startProgramWriter(ProgramWriter& writer, OutputLedger& ledger, const ProgramInfo& target,
                        const ProgramInfo& source, const WriterSettings& settings) {
    writer.vendor = target.vendor;
    switch (target.vendor) {
    case Vendor::kuka:
        return startKrlProgram(writer.krl, ledger, target, source);
    case Vendor::abb:
        return startRapidProgram(writer.rapid, ledger, target, source);
    case Vendor::fanuc:
        return startFanucProgram(writer.fanuc, ledger, target, source, settings);
    }
    return false;
}

bool writeProgramStatement(ProgramWriter& writer, const Statement& statement,
                           const Annotation& annotation, std::uint64_t ticket) {
    switch (writer.vendor) {
    case Vendor::kuka:
        return writeKrlStatement(writer.krl, statement, annotation, ticket);
    case Vendor::abb:
        return writeRapidStatement(writer.rapid, statement, annotation, ticket);
    case Vendor::fanuc:
        return writeFanucStatement(writer.fanuc, statement, annotation, ticket);
    }
    return false;
}

bool finishProgramWriter(ProgramWriter& writer) {
    switch (writer.vendor) {
    case Vendor::kuka:
        return finishKrlProgram(writer.krl);
    case Vendor::abb:
        return finishRapidProgram(writer.rapid);
    case Vendor::fanuc:
        return finishFanucProgram(writer.fanuc);
    }
    return false;
}

const std::string& writerMessage(const ProgramWriter& writer) {
    switch (writer.vendor) {
    case Vendor::kuka:
        return writer.krl.message;
    case Vendor::abb:
        return writer.rapid.message;
    case Vendor::fanuc:
        return writer.fanuc.message;
    }
    return writer.krl.message;
}
