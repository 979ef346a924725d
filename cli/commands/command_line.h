#pragma once

#include <CLI/CLI.hpp>

#include <map>
#include <string>
#include <vector>

// The values an option takes, where it takes one of a few words (--format
// json, --to kuka,abb), recorded where the option is made so that its check
// and its completion come from the same list.
struct OptionChoices {
    std::vector<std::string> words;
    bool commaList = false; // several, separated by commas
};
using ChoiceTable = std::map<const CLI::Option*, OptionChoices>;

// Limits the option to the words and records them for the completion.
CLI::Option* offerChoices(ChoiceTable& table, CLI::Option* option, std::vector<std::string> words,
                          bool commaList = false);

// A bash completion script for the program, from its commands and options as
// the command line defines them: commands, options (with their values where
// the table has them) and file names for everything else.
std::string bashCompletion(const CLI::App& app, const ChoiceTable& table);
