#include "cli/output/list_output.h"

void appendHeader(std::string& out, const OutputSettings& settings) {
    switch (settings.format) {
    case OutputFormat::csv:
        appendCsvHeader(out, settings);
        break;
    case OutputFormat::table:
        appendTableHeader(out, settings);
        break;
    case OutputFormat::json:
        break;
    }
}

void appendRecord(std::string& out, const OutputSettings& settings, const std::string& file,
                  const PoseRecord& pose) {
    switch (settings.format) {
    case OutputFormat::json:
        appendJsonRecord(out, settings, file, pose);
        break;
    case OutputFormat::csv:
        appendCsvRecord(out, settings, file, pose);
        break;
    case OutputFormat::table:
        appendTableRecord(out, settings, file, pose);
        break;
    }
}
