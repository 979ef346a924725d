#include "cli/output/warning_list.h"

#include <fmt/format.h>

namespace {

constexpr std::size_t maxShownWarnings = 100;

} // namespace

void addWarning(WarningList& list, const ScanWarning& warning) {
    if (list.shown == maxShownWarnings) {
        ++list.hidden;
        return;
    }
    ++list.shown;
    list.text += fmt::format("{}:{}:{}: warning: {}\n", list.file, warning.line, warning.column,
                             warning.message);
}

std::string warningText(const WarningList& list) {
    if (list.hidden == 0) {
        return list.text;
    }
    return list.text + fmt::format("{}: {} more warnings not shown\n", list.file, list.hidden);
}
