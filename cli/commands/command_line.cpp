#include "cli/commands/command_line.h"

#include "cli/output/terminal.h"
#include "robotfiles/notations/notations.h"

#include <fmt/format.h>

namespace {

const char* formatWord(OutputFormat format) {
    switch (format) {
    case OutputFormat::table:
        return "table";
    case OutputFormat::json:
        return "json";
    case OutputFormat::csv:
        return "csv";
    }
    return "?";
}

} // namespace

CLI::Option* offerChoices(ChoiceTable& table, CLI::Option* option, std::vector<std::string> words,
                          bool commaList) {
    option->check(CLI::IsMember(words));
    table[option] = OptionChoices{std::move(words), commaList};
    return option;
}

CLI::Option* addFormatOption(CLI::App& command, ChoiceTable& choices, OutputFormat& format,
                             const std::vector<OutputFormat>& forms,
                             const std::string& description) {
    std::vector<std::pair<std::string, OutputFormat>> words;
    std::vector<std::pair<std::string, OutputFormat>> aliases;
    for (const OutputFormat form : forms) {
        words.emplace_back(formatWord(form), form);
        if (form == OutputFormat::table) {
            aliases.emplace_back("text", form);
        }
    }
    return addWordOption(command, choices, "--format", format, words, description, aliases)
        ->type_name("FORMAT");
}

OutputFormat formatOrDefault(const CLI::Option* option, OutputFormat given) {
    if (option->count() > 0) {
        return given;
    }
    return isTerminal(stdout) ? OutputFormat::table : OutputFormat::json;
}

std::vector<std::string> notationNames() {
    std::vector<std::string> names;
    for (const Notation& notation : allNotations()) {
        names.push_back(notation.name);
    }
    return names;
}

CLI::Option* addNotationsOption(CLI::App& command, ChoiceTable& choices,
                                std::vector<std::string>& names, const std::string& description) {
    return offerChoices(choices, command.add_option("--to", names, description), notationNames(),
                        true)
        ->delimiter(',')
        ->type_name("NOTATIONS");
}

std::string notationTable() {
    std::string text = "Notations (--to, --from):\n";
    for (const Notation& notation : allNotations()) {
        text += fmt::format("  {:<11} {:<19} {:<8} {}\n", notation.name, notation.brand,
                            notation.units, notation.form);
    }
    return text;
}
