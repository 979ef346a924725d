#include "notation/abb_text.h"
#include "notation/fanuc_text.h"
#include "notation/kuka_text.h"

#include "pose_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// How far a value may move when written with the given number of decimals
// and read back in single precision.
double writtenAndRead(double value, int decimals) {
    return 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(value) * 0x1p-24 * 1.01;
}

::testing::AssertionResult valuesNear(const char* name, double actual, double expected,
                                      int decimals) {
    const double tolerance = writtenAndRead(expected, decimals);
    if (std::fabs(actual - expected) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << name << ": read back " << actual << ", written "
                                         << expected << ", tolerance " << tolerance;
}

std::vector<EulerPose> eulerPoses() {
    std::vector<EulerPose> poses = {
        {},
        {-0.0, -0.0, -0.0, -0.0, -0.0, -0.0},
        {0.004, -0.004, 0.0049, 180, 90, -180},
        {-99999.994, 99999.994, 0.001, -180, -90, 180},
        {1, 2, 3, 179.99999, 89.99999, -179.99999},
    };
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> position(-5000.0, 5000.0);
    std::uniform_real_distribution<double> far(-99999.0, 99999.0);
    std::uniform_real_distribution<double> angle(-180.0, 180.0);
    std::uniform_real_distribution<double> pitch(-90.0, 90.0);
    for (int i = 0; i < 2000; ++i) {
        std::uniform_real_distribution<double>& reach = i % 4 == 0 ? far : position;
        poses.push_back({reach(random), reach(random), reach(random), angle(random), pitch(random),
                         angle(random)});
    }
    return poses;
}

std::vector<QuatPose> quatPoses() {
    std::vector<QuatPose> poses = {QuatPose{}};
    const double turns[][4] = {{0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, {-1, 0, 0, 0}};
    for (const auto& q : turns) {
        QuatPose pose;
        pose.q1 = q[0];
        pose.q2 = q[1];
        pose.q3 = q[2];
        pose.q4 = q[3];
        poses.push_back(pose);
    }
    std::mt19937 random(20240612);
    std::uniform_real_distribution<double> position(-99999.0, 99999.0);
    std::normal_distribution<double> component;
    for (int i = 0; i < 2000; ++i) {
        QuatPose pose;
        pose.x = position(random);
        pose.y = position(random);
        pose.z = position(random) / (i % 3 + 1);
        pose.q1 = component(random);
        pose.q2 = component(random);
        pose.q3 = component(random);
        pose.q4 = component(random);
        pose.normalize();
        poses.push_back(pose);
    }
    return poses;
}

TEST(RoundTrip, KukaTextReadsBackWhatWasWritten) {
    for (const EulerPose& written : eulerPoses()) {
        SCOPED_TRACE(describe(written));
        wchar_t buffer[4096];
        ASSERT_TRUE(formatKukaText(written, buffer, 4095));
        EulerPose read = untouchedEulerPose();
        ASSERT_TRUE(parseKukaText(buffer, read));
        EXPECT_TRUE(valuesNear("x", read.x, written.x, 2));
        EXPECT_TRUE(valuesNear("y", read.y, written.y, 2));
        EXPECT_TRUE(valuesNear("z", read.z, written.z, 2));
        EXPECT_TRUE(valuesNear("a", read.a, written.a, 2));
        EXPECT_TRUE(valuesNear("b", read.b, written.b, 2));
        EXPECT_TRUE(valuesNear("c", read.c, written.c, 2));
    }
}

TEST(RoundTrip, FanucTextReadsBackWhatWasWritten) {
    for (const EulerPose& written : eulerPoses()) {
        SCOPED_TRACE(describe(written));
        wchar_t buffer[4096];
        ASSERT_TRUE(formatFanucText(written, buffer, 4095));
        EulerPose read = untouchedEulerPose();
        ASSERT_TRUE(parseFanucText(buffer, read));
        EXPECT_TRUE(valuesNear("x", read.x, written.x, 3));
        EXPECT_TRUE(valuesNear("y", read.y, written.y, 3));
        EXPECT_TRUE(valuesNear("z", read.z, written.z, 3));
        EXPECT_TRUE(valuesNear("a", read.a, written.a, 3));
        EXPECT_TRUE(valuesNear("b", read.b, written.b, 3));
        EXPECT_TRUE(valuesNear("c", read.c, written.c, 3));
    }
}

TEST(RoundTrip, AbbTextReadsBackWhatWasWritten) {
    for (const QuatPose& written : quatPoses()) {
        SCOPED_TRACE(describe(written));
        wchar_t buffer[4096];
        ASSERT_TRUE(formatAbbText(written, buffer, 4095));
        QuatPose read;
        read.x = 7.0;
        ASSERT_TRUE(parseAbbText(buffer, read));
        EXPECT_TRUE(read.unitLength);
        EXPECT_TRUE(valuesNear("x", read.x, written.x, 2));
        EXPECT_TRUE(valuesNear("y", read.y, written.y, 2));
        EXPECT_TRUE(valuesNear("z", read.z, written.z, 2));
        // Seven decimals, single precision, then a norm that moved by as much.
        const double q[4][2] = {{read.q1, written.q1},
                                {read.q2, written.q2},
                                {read.q3, written.q3},
                                {read.q4, written.q4}};
        for (const auto& pair : q) {
            EXPECT_NEAR(pair[0], pair[1], 4e-7);
        }
    }
}

} // namespace
