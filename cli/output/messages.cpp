#include "cli/output/messages.h"

#include <cstdio>
#include <string>

std::string messageLine(std::string_view text) {
    std::string line = "posebridge-cli: ";
    line.append(text);
    line += '\n';
    return line;
}

void printMessage(std::string_view text) {
    const std::string line = messageLine(text);
    std::fwrite(line.data(), 1, line.size(), stderr);
}
