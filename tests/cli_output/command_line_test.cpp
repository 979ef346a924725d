// The command line's own machinery: every command adds its options without a
// clash, and a word option turns words into values, takes its aliases,
// refuses anything else in the user's words and offers only its own words
// for completion.

#include "cli/commands/commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const Command* const everyCommand[] = {
    &listCommand,  &convertCommand, &diffCommand, &rebaseCommand, &notationsCommand,
    &frameCommand, &fitCommand,     &toolCommand, &plotCommand,   &completionCommand};

TEST(CommandLine, EveryCommandAddsItsOptionsOnce) {
    CLI::App program("test", "posebridge-cli");
    ChoiceTable choices;
    std::set<std::string> names;
    for (const Command* command : everyCommand) {
        SCOPED_TRACE(command->name);
        EXPECT_TRUE(names.insert(command->name).second) << "named twice";
        EXPECT_NE(std::string(command->summary), "");
        ASSERT_NE(command->run, nullptr);
        CLI::App* added = program.add_subcommand(command->name, command->summary);
        // CLI11 throws on an option defined twice within a command.
        EXPECT_NO_THROW(command->addOptions(*added, choices));
        EXPECT_FALSE(added->get_options().empty());
    }
    // Every word option records its words for the completion.
    for (const auto& [option, words] : choices) {
        EXPECT_FALSE(words.words.empty()) << option->get_name();
    }
}

struct Parsed {
    bool ok = false;
    std::string error;
    OutputFormat format = OutputFormat::csv;
};

Parsed parseFormat(const std::vector<std::string>& words) {
    CLI::App app("test");
    ChoiceTable choices;
    Parsed parsed;
    addFormatOption(app, choices, parsed.format, {OutputFormat::table, OutputFormat::json},
                    "the form");
    std::vector<std::string> arguments(words.rbegin(), words.rend());
    try {
        app.parse(arguments);
        parsed.ok = true;
    } catch (const CLI::ParseError& error) {
        parsed.error = error.what();
    }
    return parsed;
}

TEST(CommandLine, FormatWordsBecomeFormsAndTextStaysTable) {
    const struct {
        const char* word;
        bool ok;
        OutputFormat format;
        const char* error;
    } cases[] = {
        {"table", true, OutputFormat::table, ""},
        {"json", true, OutputFormat::json, ""},
        {"text", true, OutputFormat::table, ""}, // the old spelling of frame, fit and tool
        {"csv", false, OutputFormat::csv, "csv not in {table,json}"},
        {"JSON", false, OutputFormat::csv, "JSON not in {table,json}"},
        {"0", false, OutputFormat::csv, "0 not in {table,json}"}, // not the enum's number
        {"", false, OutputFormat::csv, " not in {table,json}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        const Parsed parsed = parseFormat({"--format", c.word});
        EXPECT_EQ(parsed.ok, c.ok) << parsed.error;
        if (c.ok) {
            EXPECT_EQ(parsed.format, c.format);
        } else {
            EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
        }
    }
}

TEST(CommandLine, CompletionOffersTheWordsButNotTheAlias) {
    CLI::App app("test");
    CLI::App* command = app.add_subcommand("list");
    ChoiceTable choices;
    OutputFormat format = OutputFormat::table;
    const CLI::Option* option =
        addFormatOption(*command, choices, format,
                        {OutputFormat::table, OutputFormat::json, OutputFormat::csv}, "");
    ASSERT_EQ(choices.count(option), 1u);
    EXPECT_EQ(choices.at(option).words, (std::vector<std::string>{"table", "json", "csv"}));
    EXPECT_NE(bashCompletion(app, choices).find("\"table json csv\""), std::string::npos);
}

} // namespace
