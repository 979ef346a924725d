#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Runs one job per file on up to `threads` threads and prints their output
// in job order, as if they had run one after the other: the job at the head
// of the order writes straight through, the others keep what they make
// until their turn. So a single large file streams with bounded memory.
struct JobOutput {
    // Hands text for standard output; may be called any number of times.
    std::function<void(std::string&)> write;
    // Text for standard error, printed when the job's turn comes.
    std::string messages;
};

void runOrderedJobs(std::size_t count, unsigned threads,
                    const std::function<void(std::size_t index, JobOutput& output)>& job);
