#include "cli/output/list_output.h"

#include <string_view>

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

void notationValues(const Notation& notation, const PoseRecord& pose, const Transform& m,
                    double* out) {
    const std::optional<Vendor> own = vendorOfNotation(&notation);
    if (own == pose.vendor && pose.status == PoseStatus::ok &&
        static_cast<int>(pose.values.size()) == notation.memberCount) {
        // The vendor notations' members are the readers' keys, in order.
        std::string_view members = notation.members;
        bool same = true;
        for (int k = 0; k < notation.memberCount && same; ++k) {
            const std::size_t start = members.find_first_not_of(' ');
            const std::size_t end = std::min(members.find(' ', start), members.size());
            same = members.substr(start, end - start) == pose.values[k].key;
            out[k] = pose.values[k].value;
            members.remove_prefix(end);
        }
        if (same) {
            return;
        }
    }
    notation.values(m, out);
}
