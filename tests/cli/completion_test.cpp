// The bash completion as a user's shell runs it: the script that
// `completion bash` prints is sourced in bash, and its function asked to
// complete a few command lines, as bash does on a Tab.

#include "tests/cli/cli_run.h"

#include <gtest/gtest.h>

#ifndef _WIN32

#include <cstdio>
#include <fstream>

namespace {

TEST(CompletionTest, CompletesCommandsOptionsAndNotations) {
    const Outcome script = run("completion bash");
    ASSERT_EQ(script.status, 0);
    const std::string file = testing::TempDir() + "posebridge-cli.bash";
    std::ofstream(file) << script.out;

    const struct {
        const char* line; // the words so far, the last one being completed
        const char* expected;
    } cases[] = {
        {"posebridge-cli re", "rebase"},
        {"posebridge-cli no", "notations"},
        {"posebridge-cli list --fo", "--format"},
        {"posebridge-cli list --format j", "json"},
        {"posebridge-cli diff --format ", "json table"},
        {"posebridge-cli convert --from ro", "ros"},
        {"posebridge-cli list --to kuka,u", "kuka,ur kuka,urdf"},
        {"posebridge-cli list -j 2 --vendor f", "fanuc"},
        {"posebridge-cli rebase --include-",
         "--include-assignments --include-frames --include-remote-tcp"},
        {"posebridge-cli diff --tolerance ", ""},
        {"posebridge-cli tr", "translate"},
        {"posebridge-cli translate --to f", "fanuc"},
        {"posebridge-cli translate --config ", "controller"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::string line = c.line;
        // bash's own splitting of the line; a trailing blank starts an empty word.
        const std::string command =
            "bash -c 'source \"" + file + "\"; read -ra COMP_WORDS <<< \"" + line + "\"; [[ \"" +
            line +
            "\" == *\" \" ]] && COMP_WORDS+=(\"\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
            "_posebridge_cli; printf \"%s\\n\" \"${COMPREPLY[@]}\" | sort | paste -sd \" \"'";
        std::FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char buffer[4096];
        std::string out;
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, got);
        }
        EXPECT_EQ(pclose(pipe), 0);
        EXPECT_EQ(out, std::string(c.expected) + "\n");
    }
    std::remove(file.c_str());
}

} // namespace

#endif
