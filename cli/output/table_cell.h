#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

// A cell of a table of fixed columns, so that the columns line up while the
// rows are still being read: the text whole where it fits, else cut with
// "…" (a path keeps its end: the file's name and line) and counted, so that
// the command can say so.
std::string fittedCell(std::string_view text, std::size_t width, bool keepEnd,
                       std::atomic<std::uint64_t>* cut);

// The columns a text takes: its code points (the terminal's width of most
// robot names).
std::size_t displayWidth(std::string_view text);
