#include "robotfiles/notations/notations.h"
#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"

#include <fmt/format.h>

#include <cstdio>

namespace {

// One pose shown in every notation: the tool at (500, -250, 1000) mm,
// pointing straight down (a half turn about Y).
const Transform examplePose{{-1, 0, 0, 500, 0, 1, 0, -250, 0, 0, -1, 1000, 0, 0, 0, 1}};

std::string joinLines(std::string text, const std::string& between) {
    for (std::size_t at = text.find('\n'); at != std::string::npos;
         at = text.find('\n', at + between.size())) {
        text.replace(at, 1, between);
    }
    return text;
}

bool markdownGiven = false;

int runNotations(bool markdown) {
    std::string out;
    if (markdown) {
        out += "| name | brand | members | units | rotation | text, for the tool at (500, -250, "
               "1000) mm pointing straight down |\n|---|---|---|---|---|---|\n";
    }
    for (const Notation& notation : allNotations()) {
        const std::string example = notation.write(examplePose, NotationText{});
        if (markdown) {
            out += fmt::format("| `{}` | {} | {} | {} | {} | `{}` |\n", notation.name,
                               notation.brand, notation.members, notation.units, notation.rotation,
                               joinLines(example, "` `"));
        } else {
            out +=
                fmt::format("{}  ({}; {}; {})\n  form:     {}\n  rotation: {}\n  example:  {}\n\n",
                            notation.name, notation.brand, notation.members, notation.units,
                            notation.form, notation.rotation, joinLines(example, "\n            "));
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return exitDone;
}

const char* const examples = R"(Examples:
  posebridge-cli notations
  posebridge-cli notations --markdown > notations.md

Exit status:
  0  done
  2  a usage error
)";

void addOptions(CLI::App& command, ChoiceTable&) {
    command.add_flag("--markdown", markdownGiven, "as the README's table");
    command.footer(examples);
}

int run(const CommandContext&) {
    return runNotations(markdownGiven);
}

} // namespace

const Command notationsCommand = {
    "notations", "Describe every notation, with the same pose written in each.", addOptions, run};
