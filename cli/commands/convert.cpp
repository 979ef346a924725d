#include "cli/commands/commands.h"
#include "cli/commands/exit_codes.h"
#include "cli/inputs/pose_text.h"
#include "cli/output/messages.h"
#include "robotfiles/notations/notations.h"

#include <fmt/format.h>

#include <cstdio>
#include <iterator>

namespace {

// Standard input, bounded: one pose is never that long.
constexpr std::size_t maxPoseText = std::size_t{1} << 20;

bool readStandardInput(std::string& text) {
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
        text.append(buffer, got);
        if (text.size() > maxPoseText) {
            return false;
        }
    }
    return true;
}

// How many decimals KUKA, ABB and FANUC get: three of millimetres, four of
// degrees, eight of a quaternion (what a command line's user needs of a
// calibrated frame), or the window's copy format (two).
enum class Digits { fine, window };

struct ConvertOptions {
    std::string text; // the pose, or "-" for standard input
    std::string from; // a notation's name, or empty to recognise it
    std::vector<std::string> notations;
    Digits digits = Digits::fine;
};

ConvertOptions given;

int runConvert(const ConvertOptions& options) {
    std::string text = options.text;
    if (text == "-") {
        text.clear();
        if (!readStandardInput(text)) {
            printError("standard input: more than 1 MiB for one pose");
            return exitTrouble;
        }
    }
    Transform pose;
    NotationText carried;
    const Notation* from = nullptr;
    std::string message;
    if (!readPoseText(text, options.from, pose, carried, from, message)) {
        printError("{}", message);
        return exitTrouble;
    }

    std::vector<std::string> names = options.notations;
    if (names.empty()) {
        names = {"kuka", "abb", "fanuc", "matrix"};
    }
    std::string out;
    for (const std::string& name : names) {
        const Notation* to = findNotation(name);
        // What was carried belongs to the notation it came from.
        const std::string written = options.digits == Digits::fine && to->writeFine != nullptr
                                        ? to->writeFine(pose)
                                        : to->write(pose, to == from ? carried : NotationText{});
        if (names.size() == 1) {
            out += written + "\n";
        } else if (written.find('\n') == std::string::npos) {
            out += fmt::format("{}: {}\n", name, written);
        } else {
            out += name + ":\n" + written + "\n";
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return exitDone;
}

const char* const examples = R"(Examples:
  posebridge-cli convert "{X 10, Y 20, Z 30, A 0, B 90, C 0}"
  posebridge-cli convert --to fanuc "[[100,0,50],[0,0,1,0]]"
  posebridge-cli convert --from techman --to ur "100,200,300,0,90,0"
  posebridge-cli convert --digits window --to kuka "[[100,0,50],[0,0,1,0]]"
  echo "[[100,0,50],[0,0,1,0]]" | posebridge-cli convert --to kuka -

Exit status:
  0  done
  2  a usage error, or a text that is no pose (the message says why)
)";

void addOptions(CLI::App& command, ChoiceTable& choices) {
    addNotationsOption(command, choices, given.notations,
                       "the notations to print (comma list; default kuka,abb,fanuc,matrix)");
    offerChoices(choices,
                 command.add_option("--from", given.from,
                                    "the notation of the text, where its form is ambiguous"),
                 notationNames());
    addWordOption<Digits>(command, choices, "--digits", given.digits,
                          {{"fine", Digits::fine}, {"window", Digits::window}},
                          "KUKA, ABB and FANUC with 3 decimals of mm, 4 of degrees, 8 of a "
                          "quaternion (fine, the default) or the window's copy format (window)")
        ->type_name("DIGITS");
    command.add_option("text", given.text, "the pose (quoted), or - for standard input")
        ->required()
        ->type_name("TEXT");
    command.footer(std::string(examples) + "\n" + notationTable());
}

int run(const CommandContext&) {
    return runConvert(given);
}

} // namespace

const Command convertCommand = {"convert", "Read one pose and print it in other notations.",
                                addOptions, run};
