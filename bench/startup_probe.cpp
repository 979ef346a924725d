// Start-up time of posebridge.exe against two references: the bare window
// program and the floor of its layout (control_floor.exe, the same 74
// controls and nothing else). Each time runs from the call of CreateProcess
// until a visible top-level window of the new process reads "0.00" in field
// 701, that is, shows its start values. The three are started in turns, the
// order rotated every round, so that a slow phase of the machine weighs on
// all alike; one untimed round warms the caches.
//
// Usage: startup_probe <posebridge.exe> <bare_window.exe> <control_floor.exe> [rounds]

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
constexpr double floorGoalRatio = 1.05;
constexpr int programCount = 3;

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
    std::printf("%-18s median %s  min %s  p95 %s  (%zu starts)\n", name,
                formatDuration(median(times)).c_str(),
                formatDuration(percentile(times, 0.0)).c_str(),
                formatDuration(percentile(times, 0.95)).c_str(), times.size());
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 4) {
        std::fprintf(stderr, "usage: startup_probe <posebridge.exe> <bare_window.exe> "
                             "<control_floor.exe> [rounds]\n");
        return 2;
    }
    const wchar_t* paths[programCount] = {argv[1], argv[2], argv[3]};
    const int rounds =
        argc > 4 ? std::max(1, static_cast<int>(std::wcstol(argv[4], nullptr, 10))) : defaultRounds;

    std::vector<double> times[programCount];
    for (int round = 0; round <= rounds; ++round) {
        for (int turn = 0; turn < programCount; ++turn) {
            const int which = (round + turn) % programCount;
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
    describe("control_floor.exe", times[2]);
    const double ratio = median(times[0]) / median(times[1]);
    char goal[48];
    std::snprintf(goal, sizeof goal, "<= %.2fx bare window", goalRatio);
    printFigureRow("start-up until the start values show (Wine)", formatDuration(median(times[0])),
                   "bare window " + formatDuration(median(times[1])), formatRatio(ratio), goal,
                   ratio <= goalRatio);
    const double floorRatio = median(times[0]) / median(times[2]);
    std::snprintf(goal, sizeof goal, "<= %.2fx its 74 controls", floorGoalRatio);
    printFigureRow("start-up against the floor of its layout (Wine)",
                   formatDuration(median(times[0])),
                   "74 controls only " + formatDuration(median(times[2])), formatRatio(floorRatio),
                   goal, floorRatio <= floorGoalRatio);
    LocalFree(argv);
    return 0;
}
