#pragma once

#include <fmt/format.h>

#include <string>
#include <string_view>

// Every message of the program to standard error goes through here, so that
// each starts with the program's name and ends its line, and one message is
// one write: files read in parallel cannot cut into each other's lines.
void printMessage(std::string_view text);
// The same line as text, for output that is printed later in order (files
// read in parallel).
std::string messageLine(std::string_view text);

// "posebridge-cli: " and the formatted text, as one line on standard error.
template <typename... Args>
void printError(fmt::format_string<Args...> format, Args&&... args) {
    printMessage(fmt::format(format, std::forward<Args>(args)...));
}
