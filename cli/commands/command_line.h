#pragma once

#include "cli/output/output_format.h"

#include <CLI/CLI.hpp>

#include <map>
#include <string>
#include <vector>

// What every command shares on the command line: its entry in the program's
// table of commands, the words its options take, and the options that
// several commands have (--to, --format). Only cli/main.cpp and the files of
// cli/commands know CLI11.

// The values an option takes, where it takes one of a few words (--format
// json, --to kuka,abb), recorded where the option is made so that its check
// and its completion come from the same list.
struct OptionChoices {
    std::vector<std::string> words;
    bool commaList = false; // several, separated by commas
};
using ChoiceTable = std::map<const CLI::Option*, OptionChoices>;

// What a command's run function gets besides its own options.
struct CommandContext {
    const CLI::App& program; // the whole command line, for the completion script
    const CLI::App& command; // this command as parsed: the order of its options
    const ChoiceTable& choices;
};

// One command: cli/main.cpp lists them all in one table, and each
// cli/commands/NAME.cpp defines its own, with its options record, its
// options and its run function, which returns the exit status.
struct Command {
    const char* name;
    const char* summary;
    void (*addOptions)(CLI::App& command, ChoiceTable& choices);
    int (*run)(const CommandContext& context);
};

// Limits the option to the words and records them for the completion.
CLI::Option* offerChoices(ChoiceTable& table, CLI::Option* option, std::vector<std::string> words,
                          bool commaList = false);

// An option that takes one of a few words and stands for an enum: CLI11
// turns the word into the value (or refuses it), and the words are recorded
// for the completion. Aliases are taken but not offered.
template <typename Value>
CLI::Option* addWordOption(CLI::App& command, ChoiceTable& choices, const std::string& name,
                           Value& value, const std::vector<std::pair<std::string, Value>>& words,
                           const std::string& description,
                           const std::vector<std::pair<std::string, Value>>& aliases = {}) {
    std::map<std::string, Value> accepted(words.begin(), words.end());
    accepted.insert(aliases.begin(), aliases.end());
    std::vector<std::string> offered;
    std::string shown = "{";
    for (const auto& word : words) {
        offered.push_back(word.first);
        shown += (shown.size() == 1 ? "" : ",") + word.first;
    }
    shown += "}";
    // The words are checked first, for a message in the user's words
    // ("xml not in {table,json,csv}"); then CLI11 maps them to the value.
    const CLI::Validator known(
        [accepted, shown](std::string& word) {
            return accepted.count(word) > 0 ? std::string() : word + " not in " + shown;
        },
        shown);
    // CLI11 runs the transforms last added first.
    CLI::Option* option = command.add_option(name, value, description)
                              ->transform(CLI::CheckedTransformer(accepted).description(""))
                              ->transform(known);
    choices[option] = OptionChoices{offered, false};
    return option;
}

// --format with these forms. CLI11 turns the word into the form, so a
// command never compares words; "text" is taken for "table", as frame, fit
// and tool called it before every command said "table".
CLI::Option* addFormatOption(CLI::App& command, ChoiceTable& choices, OutputFormat& format,
                             const std::vector<OutputFormat>& forms,
                             const std::string& description);
// The form given, or the default for where standard output goes: a table on
// a terminal, JSON Lines in a pipe.
OutputFormat formatOrDefault(const CLI::Option* option, OutputFormat given);

// --to with the notations' names, as a comma list.
CLI::Option* addNotationsOption(CLI::App& command, ChoiceTable& choices,
                                std::vector<std::string>& names, const std::string& description);
std::vector<std::string> notationNames();
// The table of notations for the help texts.
std::string notationTable();

// A bash completion script for the program, from its commands and options as
// the command line defines them: commands, options (with their values where
// the table has them) and file names for everything else.
std::string bashCompletion(const CLI::App& program, const ChoiceTable& table);
