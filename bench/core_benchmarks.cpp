// Throughput of the portable core: each conversion beside the same conversion
// done with Eigen in the same run (reported as a ratio), the text readers on
// typical robot texts, recognition, the field formatting and the start-up
// self-test. Run it from a Release build without sanitizers (scripts/bench).

#include "bench/eigen_reference.h"
#include "bench/figure_rows.h"
#include "bench/samples.h"
#include "calculator/calculator_state.h"
#include "calculator/field_texts.h"
#include "calculator/recognition.h"
#include "math/matrix_validation.h"
#include "notation/abb_text.h"
#include "notation/fanuc_text.h"
#include "notation/kuka_text.h"
#include "notation/self_test.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const Samples* sample = nullptr;

constexpr const char* eigenSuffix = " (Eigen)";

// A conversion and the goal for its time relative to Eigen's. The quaternion
// conversions form a general 4x4 inverse where Eigen builds the rotation
// directly, hence their wider allowance.
struct Conversion {
    const char* name;
    double goal;
};
const Conversion conversions[] = {
    {"multiply", 3.0},
    {"inverse", 3.0},
    {"transformFromQuatPose", 10.0},
    {"quatPoseFromTransform", 10.0},
    {"transformFromEulerPose", 3.0},
    {"eulerPoseFromTransform", 3.0},
    {"isRigidTransform", 3.0},
};

constexpr double selfTestGoalSeconds = 1e-3;

// Runs convert(k) over the samples in turn, so that neither side profits
// from one operand staying in registers or from one branch always taken.
template <typename Convert>
void measure(benchmark::State& state, Convert convert) {
    int k = 0;
    for (auto _ : state) {
        auto result = convert(k);
        benchmark::DoNotOptimize(result);
        k = nextSample(k);
    }
}

template <typename Ours, typename Theirs>
void registerPair(const char* name, Ours ours, Theirs theirs) {
    benchmark::RegisterBenchmark(name, [ours](benchmark::State& state) { measure(state, ours); });
    const std::string eigenName = std::string(name) + eigenSuffix;
    benchmark::RegisterBenchmark(eigenName.c_str(),
                                 [theirs](benchmark::State& state) { measure(state, theirs); });
}

void registerConversions() {
    registerPair(
        "multiply",
        [](int k) {
            return multiply(sample->transforms[k], sample->transforms[sampleCount - 1 - k]);
        },
        [](int k) {
            return eigenMultiply(sample->transforms[k], sample->transforms[sampleCount - 1 - k]);
        });
    registerPair(
        "inverse", [](int k) { return inverse(sample->transforms[k]); },
        [](int k) { return eigenInverse(sample->transforms[k]); });
    registerPair(
        "transformFromQuatPose", [](int k) { return transformFromQuatPose(sample->quatPoses[k]); },
        [](int k) { return eigenTransformFromQuatPose(sample->quatPoses[k]); });
    registerPair(
        "quatPoseFromTransform", [](int k) { return quatPoseFromTransform(sample->transforms[k]); },
        [](int k) { return eigenQuatPoseFromTransform(sample->transforms[k]); });
    registerPair(
        "transformFromEulerPose",
        [](int k) { return transformFromEulerPose(sample->eulerPoses[k]); },
        [](int k) { return eigenTransformFromEulerPose(sample->eulerPoses[k]); });
    registerPair(
        "eulerPoseFromTransform",
        [](int k) { return eulerPoseFromTransform(sample->transforms[k]); },
        [](int k) { return eigenEulerPoseFromTransform(sample->transforms[k]); });
    registerPair(
        "isRigidTransform", [](int k) { return isRigidTransform(sample->transforms[k]); },
        [](int k) { return eigenIsRigidTransform(sample->transforms[k]); });
}

template <typename Parse, typename Pose>
void registerReader(const char* reader, const RobotText& text, Parse parse, Pose) {
    const std::string name = std::string(reader) + "/" + text.name;
    const wchar_t* robotText = text.text;
    benchmark::RegisterBenchmark(name.c_str(), [robotText, parse](benchmark::State& state) {
        for (auto _ : state) {
            Pose pose;
            benchmark::DoNotOptimize(parse(robotText, pose));
            benchmark::DoNotOptimize(pose);
        }
    });
}

void setTextLine(FieldTexts& texts, const wchar_t* text) {
    initFieldTexts(texts);
    std::wcsncpy(texts.text, text, textBufferUnits - 1);
    texts.text[textBufferUnits - 1] = L'\0';
}

void registerTextAndState() {
    for (const RobotText& text : kukaTexts) {
        registerReader("parseKukaText", text, parseKukaText, EulerPose());
    }
    for (const RobotText& text : abbTexts) {
        registerReader("parseAbbText", text, parseAbbText, QuatPose());
    }
    for (const RobotText& text : fanucTexts) {
        registerReader("parseFanucText", text, parseFanucText, EulerPose());
    }
    // FANUC text is tried last, after the ABB and KUKA readers have refused it.
    const RobotText recognised[] = {abbTexts[0], kukaTexts[0], fanucTexts[0]};
    const char* notations[] = {"ABB", "KUKA", "FANUC"};
    for (int n = 0; n < 3; ++n) {
        const std::string name = std::string("recognizeRobotText/") + notations[n];
        const wchar_t* robotText = recognised[n].text;
        benchmark::RegisterBenchmark(name.c_str(), [robotText](benchmark::State& state) {
            static FieldTexts texts;
            setTextLine(texts, robotText);
            for (auto _ : state) {
                benchmark::DoNotOptimize(recognizeRobotText(texts));
            }
        });
    }
    benchmark::RegisterBenchmark("formatState", [](benchmark::State& state) {
        static FieldTexts texts;
        initFieldTexts(texts);
        setCurrentTransform(sample->transforms[1]);
        for (auto _ : state) {
            formatState(texts);
            benchmark::DoNotOptimize(texts.fields[0][0]);
        }
    });
    benchmark::RegisterBenchmark("runSelfTest", [](benchmark::State& state) {
        for (auto _ : state) {
            benchmark::DoNotOptimize(runSelfTest());
        }
    });
}

// Before anything is timed: the Eigen side must compute the same thing, or
// its ratio means nothing.
bool near(const Transform& a, const Transform& b, double tolerance) {
    for (int i = 0; i < 16; ++i) {
        if (!(std::fabs(a.e[i] - b.e[i]) <= tolerance)) {
            return false;
        }
    }
    return true;
}

bool sameRotation(const EulerPose& a, const EulerPose& b) {
    return near(transformFromEulerPose(a), transformFromEulerPose(b), 1e-9) && a.x == b.x &&
           a.y == b.y && a.z == b.z;
}

bool sameQuatPose(const QuatPose& a, const QuatPose& b) {
    const double sign = a.q1 * b.q1 + a.q2 * b.q2 + a.q3 * b.q3 + a.q4 * b.q4 < 0 ? -1.0 : 1.0;
    return std::fabs(a.q1 - sign * b.q1) < 1e-9 && std::fabs(a.q2 - sign * b.q2) < 1e-9 &&
           std::fabs(a.q3 - sign * b.q3) < 1e-9 && std::fabs(a.q4 - sign * b.q4) < 1e-9 &&
           a.x == b.x && a.y == b.y && a.z == b.z && a.unitLength == b.unitLength;
}

bool check(bool condition, const char* what, int k) {
    if (!condition) {
        std::fprintf(stderr, "Eigen and the program disagree: %s, sample %d\n", what, k);
    }
    return condition;
}

bool conversionsAgree() {
    bool ok = true;
    for (int k = 0; k < sampleCount; ++k) {
        const Transform& m = sample->transforms[k];
        const Transform& other = sample->transforms[sampleCount - 1 - k];
        ok = check(near(multiply(m, other), eigenMultiply(m, other), 1e-9), "multiply", k) && ok;
        ok = check(near(inverse(m), eigenInverse(m), 1e-9), "inverse", k) && ok;
        ok = check(near(transformFromQuatPose(sample->quatPoses[k]),
                        eigenTransformFromQuatPose(sample->quatPoses[k]), 1e-9),
                   "transformFromQuatPose", k) &&
             ok;
        ok = check(sameQuatPose(quatPoseFromTransform(m), eigenQuatPoseFromTransform(m)),
                   "quatPoseFromTransform", k) &&
             ok;
        ok = check(near(transformFromEulerPose(sample->eulerPoses[k]),
                        eigenTransformFromEulerPose(sample->eulerPoses[k]), 1e-9),
                   "transformFromEulerPose", k) &&
             ok;
        ok = check(sameRotation(eulerPoseFromTransform(m), eigenEulerPoseFromTransform(m)),
                   "eulerPoseFromTransform", k) &&
             ok;
        // Valid, scaled, reflected, with a bad bottom row, not finite.
        Transform variants[5] = {m, m, m, m, m};
        for (int i = 0; i < 3; ++i) {
            at(variants[1], i, i) *= 2.0;
            at(variants[2], i, 2) = -at(variants[2], i, 2);
        }
        at(variants[3], 3, 2) = 0.5;
        at(variants[4], 1, 1) = std::nan("");
        for (const Transform& v : variants) {
            ok =
                check(isRigidTransform(v) == eigenIsRigidTransform(v), "isRigidTransform", k) && ok;
        }
    }
    for (const RobotText& t : kukaTexts) {
        EulerPose pose;
        ok = check(parseKukaText(t.text, pose), t.name, 0) && ok;
    }
    for (const RobotText& t : abbTexts) {
        QuatPose pose;
        ok = check(parseAbbText(t.text, pose) && pose.unitLength, t.name, 0) && ok;
    }
    for (const RobotText& t : fanucTexts) {
        EulerPose pose;
        ok = check(parseFanucText(t.text, pose), t.name, 0) && ok;
    }
    ok = check(runSelfTest(), "runSelfTest", 0) && ok;
    return ok;
}

// Keeps the console output and notes each benchmark's CPU time (the two
// cores are often shared with builds, and CPU time does not count the time
// this process waited for them): the median when repetitions are asked for,
// else the single run.
class FigureCollector : public benchmark::ConsoleReporter {
  public:
    // Colours only on a terminal, so that a log or a pipe gets plain lines.
    FigureCollector() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!run.error_occurred && (median || single)) {
                seconds[run.run_name.function_name] = run.GetAdjustedCPUTime() * 1e-9;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

void printFigures(const std::map<std::string, double>& seconds) {
    for (const Conversion& conversion : conversions) {
        const auto ours = seconds.find(conversion.name);
        const auto theirs = seconds.find(std::string(conversion.name) + eigenSuffix);
        if (ours == seconds.end() || theirs == seconds.end()) {
            continue;
        }
        const double ratio = ours->second / theirs->second;
        char goal[32];
        std::snprintf(goal, sizeof goal, "<= %.0fx Eigen", conversion.goal);
        printFigureRow(conversion.name, formatDuration(ours->second),
                       "Eigen " + formatDuration(theirs->second), formatRatio(ratio), goal,
                       ratio <= conversion.goal);
    }
    for (const auto& [name, time] : seconds) {
        const bool paired =
            name.find(eigenSuffix) != std::string::npos || seconds.count(name + eigenSuffix) != 0;
        if (paired) {
            continue;
        }
        const bool selfTest = name == "runSelfTest";
        printFigureRow(name, formatDuration(time), "", "", selfTest ? "< 1 ms" : "",
                       time < selfTestGoalSeconds);
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    bool read = false;
    sample = &samples(&read);
    if (!read || !conversionsAgree()) {
        std::fprintf(stderr, "core_benchmarks: the operands or the reference disagree\n");
        return 1;
    }
    registerConversions();
    registerTextAndState();
    FigureCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printFigures(reporter.seconds);
    return 0;
}
