#include "robotfiles/krl/krl_usage.h"

#include "robotfiles/krl/krl_statement.h"
#include "robotfiles/scan_text.h"

std::uint8_t KrlUsage::of(std::string_view name) const {
    const auto found = uses.find(krlNameKey(name));
    return found == uses.end() ? 0 : found->second;
}

void noteKrlUsage(KrlUsage& usage, const SourceLine& line) {
    if (line.overlong) {
        return;
    }
    const std::string_view text = withoutLineEnd(line.text);
    // Only a motion's keyword starts with one of these letters: most lines
    // are passed over by their first byte.
    const std::size_t first = skipBlanks(text, 0);
    if (first >= text.size()) {
        return;
    }
    const char c = lowerByte(text[first]);
    if (c != 'p' && c != 'l' && c != 'c' && c != 's') {
        return;
    }
    const KrlLine statement = classifyKrlLine(text);
    if (statement.kind != KrlLineKind::motion) {
        return;
    }
    const std::uint8_t use = statement.relative ? KrlUsage::relative : KrlUsage::target;
    for (int k = 0; k < statement.argumentCount; ++k) {
        forEachKrlName(text, statement.arguments[k].begin, statement.arguments[k].end,
                       [&](std::string_view name) { usage.uses[krlNameKey(name)] |= use; });
    }
}

bool isKrlCodeFile(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view extension = fileName.substr(dot + 1);
    return equalsNoCase(extension, "src") || equalsNoCase(extension, "sub");
}
