#include "cli/inputs/ordered_jobs.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Slot {
    std::mutex mutex;
    std::condition_variable finished;
    std::string pending; // written before its turn came
    std::string messages;
    bool done = false;
};

void writeOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

} // namespace

void runOrderedJobs(std::size_t count, unsigned threads,
                    const std::function<void(std::size_t, JobOutput&)>& job) {
    std::vector<std::unique_ptr<Slot>> slots;
    for (std::size_t i = 0; i < count; ++i) {
        slots.push_back(std::make_unique<Slot>());
    }
    std::atomic<std::size_t> head{0};
    std::atomic<std::size_t> next{0};

    const auto runOne = [&](std::size_t index) {
        Slot& slot = *slots[index];
        JobOutput output;
        output.write = [&](std::string& text) {
            std::lock_guard<std::mutex> lock(slot.mutex);
            if (head.load() == index) {
                writeOut(slot.pending);
                slot.pending.clear();
                writeOut(text);
            } else {
                slot.pending += text;
            }
            text.clear();
        };
        job(index, output);
        std::lock_guard<std::mutex> lock(slot.mutex);
        slot.messages = std::move(output.messages);
        slot.done = true;
        slot.finished.notify_one();
    };

    // Ends a job's turn: what it kept is written, then the next job writes
    // straight through.
    const auto finishTurn = [&](std::size_t index) {
        Slot& slot = *slots[index];
        std::unique_lock<std::mutex> lock(slot.mutex);
        slot.finished.wait(lock, [&] { return slot.done; });
        writeOut(slot.pending);
        slot.pending.clear();
        std::fflush(stdout);
        std::fwrite(slot.messages.data(), 1, slot.messages.size(), stderr);
        if (index + 1 < count) {
            std::lock_guard<std::mutex> nextLock(slots[index + 1]->mutex);
            head.store(index + 1);
        }
    };

    if (threads <= 1 || count <= 1) {
        for (std::size_t index = 0; index < count; ++index) {
            runOne(index);
            finishTurn(index);
        }
        return;
    }
    std::vector<std::thread> pool;
    const std::size_t workers = std::min<std::size_t>(threads, count);
    for (std::size_t t = 0; t < workers; ++t) {
        pool.emplace_back([&] {
            for (std::size_t index = next++; index < count; index = next++) {
                runOne(index);
            }
        });
    }
    for (std::size_t index = 0; index < count; ++index) {
        finishTurn(index);
    }
    for (std::thread& thread : pool) {
        thread.join();
    }
}
