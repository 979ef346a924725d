// Each command's help fits the command: its examples are its own, and its
// exit statuses are only those it can return.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

namespace {

// The lines of a section of a help text ("Examples:", "Exit status:").
std::vector<std::string> section(const std::string& help, const std::string& heading) {
    std::vector<std::string> lines;
    std::istringstream in(help);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == heading) {
            inside = true;
        } else if (inside && line.empty()) {
            break;
        } else if (inside) {
            lines.push_back(line);
        }
    }
    return lines;
}

TEST(HelpTest, EveryCommandShowsItsOwnExamplesAndExitStatuses) {
    const struct {
        const char* command;
        std::set<int> statuses; // what the command can return
    } cases[] = {
        {"list", {0, 2}},         {"convert", {0, 2}},   {"diff", {0, 1, 2}},    {"rebase", {0, 2}},
        {"translate", {0, 1, 2}}, {"notations", {0, 2}}, {"frame", {0, 2}},      {"fit", {0, 1, 2}},
        {"tool", {0, 1, 2}},      {"plot", {0, 2}},      {"completion", {0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const Outcome help = run(std::string(c.command) + " --help");
        ASSERT_EQ(help.status, 0);
        const auto examples = section(help.out, "Examples:");
        ASSERT_FALSE(examples.empty());
        for (const std::string& line : examples) {
            if (line.find("posebridge-cli") != std::string::npos) {
                EXPECT_NE(line.find(std::string("posebridge-cli ") + c.command), std::string::npos)
                    << line;
            }
        }
        std::set<int> listed;
        for (const std::string& line : section(help.out, "Exit status:")) {
            if (line.size() > 3 && line[0] == ' ' && line[1] == ' ' && line[2] >= '0' &&
                line[2] <= '9') {
                listed.insert(line[2] - '0');
            }
        }
        EXPECT_EQ(listed, c.statuses);
    }
    // The whole program's help names every status any command returns.
    std::set<int> all;
    for (const std::string& line : section(run("--help").out, "Exit status:")) {
        if (line.size() > 3 && line[2] >= '0' && line[2] <= '9') {
            all.insert(line[2] - '0');
        }
    }
    EXPECT_EQ(all, (std::set<int>{0, 1, 2}));
}

} // namespace
