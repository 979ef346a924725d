// Start-up time of posebridge.exe against the bare window program: from the
// call of CreateProcess until a visible top-level window of the new process
// reads "0.00" in field 701, that is, shows its start values. The two are
// started in turns, the order swapped every round, so that a slow phase of
// the machine weighs on both alike; one untimed round warms the caches.
//
// Usage: startup_probe <posebridge.exe> <bare_window.exe> [rounds]

#include "bench/figure_rows.h"
#include "bench/started_program.h"
#include "bench/statistics.h"

#include <cstdio>
#include <cwchar>
#include <shellapi.h>
#include <vector>

namespace {

constexpr int defaultRounds = 25;
constexpr double startTimeoutSeconds = 60.0;
constexpr double closeTimeoutSeconds = 20.0;
constexpr double goalRatio = 1.10;

// Seconds until the start values show, or a negative value on failure.
double timeStart(const wchar_t* path) {
    StartedProgram program;
    const double start = nowSeconds();
    if (!startProgram(path, program)) {
        return -1.0;
    }
    const bool shown = waitForStartValues(program, startTimeoutSeconds);
    const double elapsed = nowSeconds() - start;
    closeProgram(program, closeTimeoutSeconds);
    return shown ? elapsed : -1.0;
}

void describe(const char* name, const std::vector<double>& times) {
    std::printf("%-16s median %s  min %s  p95 %s  (%zu starts)\n", name,
                formatDuration(median(times)).c_str(),
                formatDuration(percentile(times, 0.0)).c_str(),
                formatDuration(percentile(times, 0.95)).c_str(), times.size());
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3) {
        std::fprintf(stderr, "usage: startup_probe <posebridge.exe> <bare_window.exe> [rounds]\n");
        return 2;
    }
    const wchar_t* paths[2] = {argv[1], argv[2]};
    const int rounds =
        argc > 3 ? std::max(1, static_cast<int>(std::wcstol(argv[3], nullptr, 10))) : defaultRounds;

    std::vector<double> times[2];
    for (int round = 0; round <= rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (round + turn) % 2;
            const double seconds = timeStart(paths[which]);
            if (seconds < 0) {
                std::fwprintf(stderr, L"start-up of %ls failed\n", paths[which]);
                return 1;
            }
            // Round 0 only warms the caches.
            if (round > 0) {
                times[which].push_back(seconds);
            }
        }
    }
    describe("posebridge.exe", times[0]);
    describe("bare_window.exe", times[1]);
    const double ratio = median(times[0]) / median(times[1]);
    char goal[48];
    std::snprintf(goal, sizeof goal, "<= %.2fx bare window", goalRatio);
    printFigureRow("start-up until the start values show (Wine)", formatDuration(median(times[0])),
                   "bare window " + formatDuration(median(times[1])), formatRatio(ratio), goal,
                   ratio <= goalRatio);
    LocalFree(argv);
    return 0;
}
