#include "cli/commands/command_line.h"

#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"

#include <fmt/format.h>

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += text.empty() ? "" : " ";
        text += word;
    }
    return text;
}

std::vector<const CLI::Option*> namedOptions(const CLI::App& command) {
    return command.get_options([](const CLI::Option* option) { return option->nonpositional(); });
}

std::vector<std::string> optionNames(const CLI::Option* option) {
    std::vector<std::string> names;
    for (const std::string& name : option->get_snames()) {
        names.push_back("-" + name);
    }
    for (const std::string& name : option->get_lnames()) {
        names.push_back("--" + name);
    }
    return names;
}

// The case arms of one command: what follows an option that takes a value,
// then its option names for a word that starts with "-".
std::string commandArms(const CLI::App& command, const ChoiceTable& table) {
    std::string valueArms;
    std::vector<std::string> names;
    for (const CLI::Option* option : namedOptions(command)) {
        const std::vector<std::string> spellings = optionNames(option);
        names.insert(names.end(), spellings.begin(), spellings.end());
        if (option->get_type_size_max() == 0) {
            continue; // a flag: the next word is anything
        }
        std::string pattern;
        for (const std::string& spelling : spellings) {
            pattern += pattern.empty() ? "" : "|";
            pattern += spelling;
        }
        const auto choices = table.find(option);
        if (choices == table.end()) {
            // A number, a frame, a folder: only a file name can be offered.
            valueArms += fmt::format("            {}) return ;;\n", pattern);
        } else {
            valueArms +=
                fmt::format("            {}) _posebridge_cli_words \"{}\" {}; return ;;\n", pattern,
                            joined(choices->second.words), choices->second.commaList ? 1 : 0);
        }
    }
    return fmt::format("        case $prev in\n{}        esac\n"
                       "        [[ $cur == -* ]] && _posebridge_cli_words \"{}\" 0\n",
                       valueArms, joined(names));
}

} // namespace

std::string bashCompletion(const CLI::App& program, const ChoiceTable& table) {
    const std::string name = program.get_name();
    std::vector<std::string> commands;
    std::string arms;
    for (const CLI::App* command : program.get_subcommands({})) {
        commands.push_back(command->get_name());
        arms += fmt::format("    {})\n{}        ;;\n", command->get_name(),
                            commandArms(*command, table));
    }
    std::vector<std::string> topWords = commands;
    for (const CLI::Option* option : namedOptions(program)) {
        for (const std::string& spelling : optionNames(option)) {
            topWords.push_back(spelling);
        }
    }
    std::string commandPattern;
    for (const std::string& command : commands) {
        commandPattern += commandPattern.empty() ? "" : "|";
        commandPattern += command;
    }
    return fmt::format(R"(# bash completion for {0}: its commands, options and notation names.
# Written by `{0} completion bash`, from the program's own option table.

# Offers the words that start as the current word does; with a comma list
# (--to kuka,ab) the word after the last comma.
_posebridge_cli_words() {{
    local words=$1 list=$2 head=""
    if [[ $list == 1 && $cur == *,* ]]; then
        head=${{cur%,*}},
    fi
    COMPREPLY=($(compgen -P "$head" -W "$words" -- "${{cur##*,}}"))
    [[ $list == 1 && ${{#COMPREPLY[@]}} -gt 0 ]] && compopt -o nospace 2>/dev/null
    return 0
}}

_posebridge_cli() {{
    local cur=${{COMP_WORDS[COMP_CWORD]}} prev=${{COMP_WORDS[COMP_CWORD-1]}} command="" i
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${{COMP_WORDS[i]}} in
            {1}) command=${{COMP_WORDS[i]}}; break ;;
        esac
    done
    case $command in
    "")
        _posebridge_cli_words "{2}" 0
        ;;
{3}    esac
    return 0
}}

complete -o default -F _posebridge_cli {0}
)",
                       name, commandPattern, joined(topWords), arms);
}

namespace {

std::string shell;

void addOptions(CLI::App& command, ChoiceTable& choices) {
    offerChoices(choices, command.add_option("shell", shell, "the shell: bash"), {"bash"})
        ->required();
    command.footer("Examples:\n"
                   "  source <(posebridge-cli completion bash)\n"
                   "  posebridge-cli completion bash > ~/.local/share/bash-completion/completions/"
                   "posebridge-cli\n"
                   "\n"
                   "Exit status:\n"
                   "  0  done\n"
                   "  2  a usage error\n");
}

int run(const CommandContext& context) {
    const std::string script = bashCompletion(context.program, context.choices);
    std::fwrite(script.data(), 1, script.size(), stdout);
    return exitDone;
}

} // namespace

const Command completionCommand = {
    "completion", "Print a script that completes the commands, options and notations.", addOptions,
    run};
