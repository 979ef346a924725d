// posebridge-cli: every pose of whole KUKA, ABB and FANUC programs, listed,
// compared and moved, and single poses converted. This file holds the table
// of commands; each command's options and its run function are in
// cli/commands/NAME.cpp.

#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/output/messages.h"
#include "cli/output/terminal.h"
#include "resources/version.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Every command once, in the order the help lists them.
const Command* const commands[] = {&listCommand,   &convertCommand,   &diffCommand,
                                   &rebaseCommand, &translateCommand, &notationsCommand,
                                   &frameCommand,  &fitCommand,       &toolCommand,
                                   &plotCommand,   &completionCommand};

const char* const examples = R"(Examples:
  posebridge-cli list backup/                     every pose of a controller backup, as a table
  posebridge-cli list --format json R1/ > poses.jsonl
  posebridge-cli convert --to fanuc "[[100,0,50],[0,0,1,0]]"
  posebridge-cli diff backup-2026-11/ backup-2026-12/
  posebridge-cli rebase --pre "{X 12,Y 0,Z 0,A 0,B 0,C 0}" --out rebased/ backup/
  posebridge-cli fit --select "REF*" old/fixture.dat new/fixture.dat
  posebridge-cli plot backup/
  posebridge-cli translate --to abb --frame 3=wobjTable --tool 1=tGripper pick.src --out abb/
  posebridge-cli COMMAND --help                  each command's options and examples

Exit status:
  0  done (warnings allowed)
  1  diff: something differs beyond the tolerances; fit, tool: a residual or
     an error above --max-error; translate: a line approximated or kept as a
     comment
  2  a usage error, a file that cannot be read or written, a refusal (nothing
     is written then), and with --strict also any warning
)";

int run(int argc, const char* const* argv) {
    CLI::App program{"posebridge-cli " POSEBRIDGE_VERSION_TEXT
                     ": every pose of whole KUKA KRL, ABB RAPID and FANUC programs and backups "
                     "listed, compared and moved by frames, whole programs translated from one "
                     "vendor's controller to another's, frames and tools calibrated from "
                     "taught points, and all of it drawn in 3D; single poses converted between "
                     "thirteen notations.",
                     "posebridge-cli"};
    ChoiceTable choices;
    program.set_version_flag("--version", "posebridge-cli " POSEBRIDGE_VERSION_TEXT);
    program.require_subcommand(1);

    std::vector<CLI::App*> parsed;
    for (const Command* command : commands) {
        CLI::App* added = program.add_subcommand(command->name, command->summary);
        command->addOptions(*added, choices);
        parsed.push_back(added);
    }
    // Set after the commands are added, which would take it as their own.
    program.footer(std::string(examples) + "\n" + notationTable());

    try {
        program.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = program.exit(error);
        return status == 0 ? exitDone : exitTrouble;
    }
    for (std::size_t k = 0; k < parsed.size(); ++k) {
        if (parsed[k]->parsed()) {
            return commands[k]->run(CommandContext{program, *parsed[k], choices});
        }
    }
    return exitTrouble; // require_subcommand(1) leaves no other way here
}

} // namespace

#ifdef _WIN32
// Arguments arrive as UTF-16 and are handed on as UTF-8, so that file names
// outside the ANSI code page still open.
int wmain(int argc, wchar_t** argv) {
    useBinaryStandardStreams();
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        const std::u8string text = std::filesystem::path(argv[i]).u8string();
        arguments.emplace_back(text.begin(), text.end());
    }
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    try {
        return run(argc, pointers.data());
    } catch (const std::exception& error) {
        printError("{}", error.what());
        return exitTrouble;
    }
}
#else
int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        printError("{}", error.what());
        return exitTrouble;
    }
}
#endif
