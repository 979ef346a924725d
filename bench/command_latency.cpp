// Latency of each button command of posebridge.exe under Wine: the round trip
// of SendMessageW(main window, WM_COMMAND, MAKEWPARAM(id, 0), 0) from this
// process, which returns when the window procedure has carried the command
// out and written every field back. Each command is pressed many times in a
// row after one untimed press that proves it raises no message box.
//
// Invert is also timed against its floor: control_floor.exe's window setting
// as many edit texts with SetWindowTextW, in one loop, as Invert changes. The
// two are pressed in turns, so that a slow phase of the machine weighs on
// both alike.
//
// Usage: command_latency <posebridge.exe> <control_floor.exe> [presses]

#include "bench/control_floor.h"
#include "bench/figure_rows.h"
#include "bench/started_program.h"
#include "bench/statistics.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <shellapi.h>
#include <vector>

namespace {

constexpr int defaultPresses = 200;
constexpr double goalMedianSeconds = 2e-3;
constexpr double floorGoalRatio = 1.05;
constexpr UINT checkTimeoutMs = 20000;

constexpr int textLineId = 736;
constexpr int kukaFirstFieldId = 701;
constexpr int invertId = 807;
constexpr int editCount = 36; // the 35 number fields and the text line

// The clipboard texts: a FANUC listing of five lines, which recognition
// reaches only after the ABB and KUKA readers have refused it, and a KUKA
// aggregate of one line.
const char fanucListing[] =
    "P[1]{\r\n   GP1:\r\n\tUF : 1, UT : 2,\t\tCONFIG : 'N U T, 0, 0, 0',\r\n"
    "\tX =  1012.350  mm,\tY =  -245.800  mm,\tZ =   820.400  mm,\r\n"
    "\tW =  -179.500 deg,\tP =    -2.250 deg,\tR =    91.300 deg\r\n};";
const char kukaAggregate[] = "DECL E6POS XP1={X 1012.35,Y -245.8,Z 820.4,A 91.3,B -2.25,C -179.5,"
                             "S 6,T 27,E1 0.0,E2 0.0,E3 0.0,E4 0.0,E5 0.0,E6 0.0}";

struct Command {
    int id;
    const char* name;
    bool copiesText;       // leaves its robot text in the text line
    const char* clipboard; // put on the clipboard before the presses, if any
};

// Imports first, so that the slots and copies work on a typical pose.
const Command commands[] = {
    {801, "801 Import KUKA", false, nullptr},
    {802, "802 Import ABB", false, nullptr},
    {803, "803 Import Matrix", false, nullptr},
    {811, "811 Import FANUC", false, nullptr},
    {804, "804 Import Clipboard, FANUC listing", false, fanucListing},
    {804, "804 Import Clipboard, KUKA E6POS", false, kukaAggregate},
    {808, "808 A : B", false, nullptr},
    {807, "807 Invert", false, nullptr},
    {809, "809 Copy KUKA", true, nullptr},
    {810, "810 Copy ABB", true, nullptr},
    {812, "812 Copy FANUC", true, nullptr},
};

// A taught position with every angle off zero: the imports then work on
// the general paths of the conversions.
const wchar_t* const kukaPose[6] = {L"1012.35", L"-245.80", L"820.40",
                                    L"91.30",   L"-2.25",   L"-179.50"};

bool putOnClipboard(HWND owner, const char* text) {
    const std::size_t size = std::strlen(text) + 1;
    // Another process may hold the clipboard for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 100 && !opened; ++attempt) {
        opened = OpenClipboard(owner) != 0;
        if (!opened) {
            Sleep(1);
        }
    }
    if (!opened) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    bool ok = false;
    if (block != nullptr) {
        void* data = GlobalLock(block);
        if (data != nullptr) {
            std::memcpy(data, text, size);
            GlobalUnlock(block);
            ok = SetClipboardData(CF_TEXT, block) != nullptr;
        }
        if (!ok) {
            GlobalFree(block);
        }
    }
    CloseClipboard();
    return ok;
}

struct EditTexts {
    wchar_t texts[editCount][64];
};

void readEdits(HWND window, EditTexts& edits) {
    for (int i = 0; i < editCount; ++i) {
        edits.texts[i][0] = L'\0';
        GetDlgItemTextW(window, kukaFirstFieldId + i, edits.texts[i], 64);
    }
}

int changedEdits(const EditTexts& before, const EditTexts& after) {
    int changed = 0;
    for (int i = 0; i < editCount; ++i) {
        changed += std::wcscmp(before.texts[i], after.texts[i]) != 0 ? 1 : 0;
    }
    return changed;
}

WPARAM click(int id) {
    return MAKEWPARAM(id, 0);
}

// One untimed press that must finish without a message box and leave the
// text line as a successful command leaves it.
bool pressChecked(const StartedProgram& program, const Command& command) {
    DWORD_PTR result = 0;
    const LRESULT answered = SendMessageTimeoutW(program.window, WM_COMMAND, click(command.id), 0,
                                                 SMTO_NORMAL, checkTimeoutMs, &result);
    wchar_t box[512];
    if (dismissMessageBox(program, box, 512)) {
        std::fprintf(stderr, "%s raised a message box: %ls\n", command.name, box);
        return false;
    }
    if (answered == 0) {
        std::fprintf(stderr, "%s did not return within %u ms\n", command.name, checkTimeoutMs);
        return false;
    }
    wchar_t line[64] = {};
    GetDlgItemTextW(program.window, textLineId, line, 64);
    if ((line[0] != L'\0') != command.copiesText) {
        std::fprintf(stderr, "%s left the text line reading \"%ls\"\n", command.name, line);
        return false;
    }
    return true;
}

bool prepare(const StartedProgram& program) {
    for (int i = 0; i < 6; ++i) {
        SetDlgItemTextW(program.window, kukaFirstFieldId + i, kukaPose[i]);
    }
    // The pose becomes current, then goes into both slots, so that A : B
    // multiplies two general transformations.
    const Command setup[] = {{801, "801 Import KUKA", false, nullptr},
                             {805, "805 Save A", false, nullptr},
                             {806, "806 Save B", false, nullptr}};
    for (const Command& command : setup) {
        if (!pressChecked(program, command)) {
            return false;
        }
    }
    wchar_t caption[20] = {};
    GetDlgItemTextW(program.window, 806, caption, 20);
    if (std::wcscmp(caption, L"Clear B") != 0) {
        std::fprintf(stderr, "Save B did not store the slot\n");
        return false;
    }
    return true;
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3) {
        std::fprintf(stderr, "usage: command_latency <posebridge.exe> <control_floor.exe> "
                             "[presses]\n");
        return 2;
    }
    const int presses = argc > 3 ? std::max(1, static_cast<int>(std::wcstol(argv[3], nullptr, 10)))
                                 : defaultPresses;

    // The owner of the clipboard text: without one, SetClipboardData fails.
    HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);

    StartedProgram program;
    if (!startProgram(argv[1], program) || !waitForStartValues(program, 60.0)) {
        return 1;
    }
    // The main window as the program names it: class and title "PoseBridge".
    HWND named = FindWindowW(L"PoseBridge", L"PoseBridge");
    DWORD namedProcess = 0;
    GetWindowThreadProcessId(named, &namedProcess);
    if (named == nullptr || namedProcess != program.process.dwProcessId) {
        std::fprintf(stderr,
                     "no window of class and title \"PoseBridge\" in the started process\n");
        closeProgram(program, 20.0);
        return 1;
    }
    program.window = named;

    bool ok = prepare(program);
    StartedProgram floor;
    if (ok && (!startProgram(argv[2], floor) || !waitForStartValues(floor, 60.0))) {
        std::fprintf(stderr, "the floor program did not start\n");
        ok = false;
    }
    int invertChanges = 0;
    for (const Command& command : commands) {
        if (!ok) {
            break;
        }
        if (command.clipboard != nullptr && !putOnClipboard(owner, command.clipboard)) {
            std::fprintf(stderr, "cannot put the robot text on the clipboard\n");
            ok = false;
            break;
        }
        EditTexts before;
        readEdits(program.window, before);
        if (!pressChecked(program, command)) {
            ok = false;
            break;
        }
        if (command.id == invertId) {
            EditTexts after;
            readEdits(program.window, after);
            invertChanges = changedEdits(before, after);
        }
        const bool againstFloor = command.id == invertId;
        const auto floorCount = static_cast<WPARAM>(invertChanges);
        if (againstFloor) {
            // Untimed, as the checked press is.
            SendMessageW(floor.window, setTextsMessage, floorCount, 0);
        }
        std::vector<double> times;
        std::vector<double> floorTimes;
        times.reserve(static_cast<std::size_t>(presses));
        for (int press = 0; press < presses; ++press) {
            const double start = nowSeconds();
            SendMessageW(program.window, WM_COMMAND, click(command.id), 0);
            times.push_back(nowSeconds() - start);
            if (againstFloor) {
                const double floorStart = nowSeconds();
                SendMessageW(floor.window, setTextsMessage, floorCount, 0);
                floorTimes.push_back(nowSeconds() - floorStart);
            }
        }
        // The timed presses did what the checked one did: no box, same text line.
        if (!pressChecked(program, command)) {
            ok = false;
            break;
        }
        const double middle = median(times);
        std::printf("%-38s median %s  p95 %s  max %s  (%d presses)\n", command.name,
                    formatDuration(middle).c_str(), formatDuration(percentile(times, 0.95)).c_str(),
                    formatDuration(percentile(times, 1.0)).c_str(), presses);
        printFigureRow(std::string("command ") + command.name + " (Wine)",
                       "median " + formatDuration(middle) + ", p95 " +
                           formatDuration(percentile(times, 0.95)),
                       "", "", "median < 2 ms", middle < goalMedianSeconds);
        if (againstFloor) {
            const double floorMiddle = median(floorTimes);
            std::printf("%-38s median %s  p95 %s  max %s  (%d rounds)\n",
                        "floor: SetWindowTextW loop", formatDuration(floorMiddle).c_str(),
                        formatDuration(percentile(floorTimes, 0.95)).c_str(),
                        formatDuration(percentile(floorTimes, 1.0)).c_str(), presses);
            const double ratio = middle / floorMiddle;
            char goal[48];
            std::snprintf(goal, sizeof goal, "<= %.2fx its texts", floorGoalRatio);
            printFigureRow("command 807 Invert against setting the " +
                               std::to_string(invertChanges) + " texts it changes (Wine)",
                           "median " + formatDuration(middle),
                           std::to_string(invertChanges) + " x SetWindowTextW " +
                               formatDuration(floorMiddle),
                           formatRatio(ratio), goal, ratio <= floorGoalRatio);
        }
    }
    closeProgram(program, 20.0);
    closeProgram(floor, 20.0);
    if (owner != nullptr) {
        DestroyWindow(owner);
    }
    LocalFree(argv);
    return ok ? 0 : 1;
}
