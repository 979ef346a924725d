#include "math/euler_pose.h"
#include "math/quat_pose.h"
#include "tests/math/matrix_assert.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

const double pi = 3.14159265358979323846;

// Rz(a) * Ry(b) * Rx(c) multiplied out by hand, angles in degrees.
Transform closedFormRotation(double a, double b, double c) {
    const double ca = std::cos(a * pi / 180), sa = std::sin(a * pi / 180);
    const double cb = std::cos(b * pi / 180), sb = std::sin(b * pi / 180);
    const double cc = std::cos(c * pi / 180), sc = std::sin(c * pi / 180);
    return Transform{{ca * cb, ca * sb * sc - sa * cc, ca * sb * cc + sa * sc, 0, sa * cb,
                      sa * sb * sc + ca * cc, sa * sb * cc - ca * sc, 0, -sb, cb * sc, cb * cc, 0,
                      0, 0, 0, 1}};
}

EulerPose pose(double a, double b, double c, double x = 0, double y = 0, double z = 0) {
    EulerPose p;
    p.x = x;
    p.y = y;
    p.z = z;
    p.a = a;
    p.b = b;
    p.c = c;
    return p;
}

TEST(EulerPoseTest, MakeEulerPoseWidensExactlyInFieldOrder) {
    const EulerPose p = makeEulerPose(0.1f, -2.0f, 3.5f, 45.3f, -0.7f, 179.9f);
    EXPECT_EQ(p.x, static_cast<double>(0.1f));
    EXPECT_EQ(p.y, -2.0);
    EXPECT_EQ(p.z, 3.5);
    EXPECT_EQ(p.a, static_cast<double>(45.3f));
    EXPECT_EQ(p.b, static_cast<double>(-0.7f));
    EXPECT_EQ(p.c, static_cast<double>(179.9f));
}

TEST(EulerPoseTest, ElementaryRotationsTurnCounterClockwise) {
    struct Case {
        const char* name;
        Transform (*rotation)(double);
        Transform expected;
    };
    const Case cases[] = {
        {"X", rotationX, {{1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1}}},
        {"Y", rotationY, {{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1}}},
        {"Z", rotationZ, {{0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(transformsNear(c.expected, c.rotation(pi / 2), 1e-15));
        EXPECT_TRUE(transformsNear(identityTransform(), c.rotation(0.0), 0.0));
    }
}

TEST(EulerPoseTest, PoseToMatrixComposesZThenYThenX) {
    EXPECT_TRUE(transformsNear(identityTransform(), transformFromEulerPose(EulerPose()), 0.0));

    const Transform quarterZ{{0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    EXPECT_TRUE(transformsNear(quarterZ, transformFromEulerPose(pose(90, 0, 0)), 1e-15));

    std::mt19937 rng(1234);
    std::uniform_real_distribution<double> angle(-180.0, 180.0);
    std::uniform_real_distribution<double> position(-3000.0, 3000.0);
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        const EulerPose p = pose(angle(rng), angle(rng) / 2, angle(rng), position(rng),
                                 position(rng), position(rng));
        const Transform m = transformFromEulerPose(p);
        EXPECT_TRUE(rotationsNear(closedFormRotation(p.a, p.b, p.c), m, 1e-12));
        EXPECT_EQ(at(m, 0, 3), p.x);
        EXPECT_EQ(at(m, 1, 3), p.y);
        EXPECT_EQ(at(m, 2, 3), p.z);
        EXPECT_EQ(at(m, 3, 0), 0.0);
        EXPECT_EQ(at(m, 3, 1), 0.0);
        EXPECT_EQ(at(m, 3, 2), 0.0);
        EXPECT_EQ(at(m, 3, 3), 1.0);
    }
}

TEST(EulerPoseTest, MatrixToPoseKnownAngles) {
    struct Case {
        const char* name;
        EulerPose input;
        EulerPose expected;
    };
    const Case cases[] = {
        {"identity", pose(0, 0, 0), pose(0, 0, 0)},
        {"90 about Z", pose(90, 0, 0), pose(90, 0, 0)},
        // Typed exactly as -180, A stays -180 rather than turning into 180.
        {"-180 about Z", pose(-180, 0, 0), pose(-180, 0, 0)},
        // Only a - c is determined at B = 90; all of it goes into C.
        {"B = 90", pose(10, 90, 30), pose(0, 90, 20)},
        {"B = -90", pose(10, -90, 30), pose(0, -90, 40)},
        {"close to B = 90", pose(0, 89.9999, 0), pose(0, 89.9999, 0)},
        {"translation", pose(-30, 45, 120, 1e-6, -2500.25, 8e5),
         pose(-30, 45, 120, 1e-6, -2500.25, 8e5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EulerPose p = eulerPoseFromTransform(transformFromEulerPose(c.input));
        EXPECT_NEAR(p.a, c.expected.a, 1e-9);
        EXPECT_NEAR(p.b, c.expected.b, 1e-9);
        EXPECT_NEAR(p.c, c.expected.c, 1e-9);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
        EXPECT_EQ(p.z, c.expected.z);
    }
}

TEST(EulerPoseTest, SingularPitchAtAndBeyondOne) {
    struct Case {
        double b;
        double m20;
        double c;
    };
    for (const Case& s : {Case{90, -1.0, 20}, Case{-90, 1.0, 40}}) {
        SCOPED_TRACE(s.b);
        Transform m = transformFromEulerPose(pose(10, s.b, 30));
        ASSERT_EQ(at(m, 2, 0), s.m20);
        const EulerPose singular = eulerPoseFromTransform(m);
        EXPECT_EQ(singular.a, 0.0);
        EXPECT_FALSE(std::signbit(singular.a));
        EXPECT_EQ(singular.b, s.b);
        EXPECT_NEAR(singular.c, s.c, 1e-9);

        // One ulp beyond +-1 is the same singular pitch, not atan2 of noise.
        at(m, 2, 0) = std::nextafter(s.m20, 2 * s.m20);
        const EulerPose beyond = eulerPoseFromTransform(m);
        EXPECT_EQ(beyond.a, 0.0);
        EXPECT_EQ(beyond.b, s.b);
        EXPECT_NEAR(beyond.c, s.c, 1e-9);
    }

    const Transform nearly = transformFromEulerPose(pose(0, 89.9999, 0));
    EXPECT_NE(at(nearly, 2, 0), -1.0);
    EXPECT_NEAR(eulerPoseFromTransform(nearly).b, 89.9999, 1e-8);
}

// Frames at gimbal lock as robot texts hand them over: quaternions rounded to
// six or seven decimals, whose matrices miss +-1 by an ulp and carry noise
// where the horizontal part of the first column should be zero. Whatever
// split of a and c comes out, it must give back the frame's rotation.
TEST(EulerPoseTest, AnglesAtGimbalLockGiveBackTheRotation) {
    const auto rounded = [](double a, double b, double c, double scale) {
        QuatPose q = quatPoseFromTransform(transformFromEulerPose(pose(a, b, c)));
        for (double* v : {&q.q1, &q.q2, &q.q3, &q.q4}) {
            *v = std::round(*v * scale) / scale;
        }
        q.normalize();
        return transformFromQuatPose(q);
    };
    const auto noisy = [](double m20, double m00, double m10) {
        Transform m = transformFromEulerPose(pose(0, m20 > 0 ? -90 : 90, 25));
        at(m, 2, 0) = m20;
        at(m, 0, 0) = m00;
        at(m, 1, 0) = m10;
        return m;
    };
    QuatPose workObject;
    workObject.q1 = 0.350074;
    workObject.q2 = -0.614368;
    workObject.q3 = -0.350074;
    workObject.q4 = -0.614368;
    workObject.normalize();
    const struct {
        const char* name;
        Transform m;
    } cases[] = {
        {"work object from a backup", transformFromQuatPose(workObject)},
        {"B -90, 6 decimals", rounded(37.5, -90, -12, 1e6)},
        {"B -90, 7 decimals", rounded(-151.25, -90, 78.5, 1e7)},
        {"B 90, 6 decimals", rounded(100.1, 90, -33.3, 1e6)},
        {"B 90, 7 decimals", rounded(-8, 90, 177, 1e7)},
        {"one ulp beyond 1", noisy(std::nextafter(1.0, 2.0), 3e-17, -2e-17)},
        {"one ulp inside 1", noisy(std::nextafter(1.0, 0.0), -4e-17, 1e-17)},
        {"one ulp beyond -1", noisy(std::nextafter(-1.0, -2.0), 2e-17, 5e-17)},
        {"one ulp inside -1", noisy(std::nextafter(-1.0, 0.0), -1e-17, -3e-17)},
    };
    const double tolerance = 0.001 * pi / 180;
    for (const auto& frame : cases) {
        SCOPED_TRACE(frame.name);
        const EulerPose shown = eulerPoseFromTransform(frame.m);
        EXPECT_TRUE(rotationsNear(frame.m, transformFromEulerPose(shown), tolerance));
        EXPECT_EQ(std::fabs(shown.b), 90.0);
    }
}

TEST(EulerPoseTest, LevelPitchIsPositiveZeroButOtherZerosKeepTheirSign) {
    for (double m20 : {0.0, -0.0}) {
        SCOPED_TRACE(m20);
        Transform m = identityTransform();
        at(m, 2, 0) = m20;
        const EulerPose p = eulerPoseFromTransform(m);
        EXPECT_EQ(p.b, 0.0);
        EXPECT_FALSE(std::signbit(p.b));
    }
    Transform m = identityTransform();
    at(m, 1, 0) = -0.0;
    at(m, 2, 1) = -0.0;
    const EulerPose p = eulerPoseFromTransform(m);
    EXPECT_TRUE(std::signbit(p.a));
    EXPECT_TRUE(std::signbit(p.c));
}

TEST(EulerPoseTest, ClampToRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double value, expected;
    };
    const Case cases[] = {{0.5, 0.5}, {-1.0, -1.0}, {1.0, 1.0}, {1.0000001, 1.0}, {-7.0, -1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(clampToRange(c.value, -1.0, 1.0), c.expected);
    }
    EXPECT_TRUE(std::isnan(clampToRange(nan, -1.0, 1.0)));
}

TEST(EulerPoseTest, RandomRoundTrips) {
    std::mt19937 rng(2718);
    std::uniform_real_distribution<double> angle(-175.0, 175.0);
    std::uniform_real_distribution<double> pitch(-85.0, 85.0);
    std::uniform_real_distribution<double> position(-3000.0, 3000.0);
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        const EulerPose p =
            pose(angle(rng), pitch(rng), angle(rng), position(rng), position(rng), position(rng));
        const EulerPose back = eulerPoseFromTransform(transformFromEulerPose(p));
        EXPECT_NEAR(back.a, p.a, 1e-9);
        EXPECT_NEAR(back.b, p.b, 1e-9);
        EXPECT_NEAR(back.c, p.c, 1e-9);
        EXPECT_EQ(back.x, p.x);
        EXPECT_EQ(back.y, p.y);
        EXPECT_EQ(back.z, p.z);
    }
    // At B = +-90 only the matrix survives the round trip, not the angles.
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        const EulerPose p = pose(angle(rng), i % 2 == 0 ? 90.0 : -90.0, angle(rng));
        const Transform m = transformFromEulerPose(p);
        const EulerPose back = eulerPoseFromTransform(m);
        EXPECT_EQ(back.a, 0.0);
        EXPECT_EQ(back.b, p.b);
        EXPECT_TRUE(rotationsNear(m, transformFromEulerPose(back), 1e-12));
    }
}

} // namespace
