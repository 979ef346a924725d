#include "math/quat_pose.h"
#include "tests/math/matrix_assert.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

struct Quaternion {
    double w, x, y, z;
};

// The rotation of a unit quaternion, written out in closed form.
Transform closedFormRotation(Quaternion q) {
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    return Transform{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y), 0,
                      2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x), 0,
                      2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y), 0, 0, 0, 0,
                      1}};
}

QuatPose poseOf(Quaternion q, double x = 0.0, double y = 0.0, double z = 0.0) {
    QuatPose p;
    p.x = x;
    p.y = y;
    p.z = z;
    p.q1 = q.w;
    p.q2 = q.x;
    p.q3 = q.y;
    p.q4 = q.z;
    p.normalize();
    return p;
}

void expectQuaternionNear(Quaternion expected, const QuatPose& actual, double tolerance) {
    EXPECT_NEAR(actual.q1, expected.w, tolerance);
    EXPECT_NEAR(actual.q2, expected.x, tolerance);
    EXPECT_NEAR(actual.q3, expected.y, tolerance);
    EXPECT_NEAR(actual.q4, expected.z, tolerance);
}

TEST(QuatPoseTest, DefaultPoseIsTheIdentity) {
    const QuatPose pose;
    EXPECT_TRUE(pose.unitLength);
    EXPECT_TRUE(transformsNear(identityTransform(), transformFromQuatPose(pose), 0.0));

    const QuatPose back = quatPoseFromTransform(identityTransform());
    EXPECT_TRUE(back.unitLength);
    EXPECT_EQ(back.q1, 1.0);
    EXPECT_EQ(back.q2, 0.0);
    EXPECT_EQ(back.q3, 0.0);
    EXPECT_EQ(back.q4, 0.0);
}

TEST(QuatPoseTest, NormalizeWindowIsOnTheNormWithExclusiveBounds) {
    struct Case {
        double q1;
        bool unit;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {1.0, true},
        {1.000004, true},
        {1.000005, false},
        {std::nextafter(1.000005, 0.0), true},
        {0.999995, false},
        {std::nextafter(0.999995, 1.0), true},
        // The square of 0.999997 lies below 0.999995: a window on the squared
        // norm would refuse it, and one on 1.000004 squared as well.
        {0.999997, true},
        {-1.000004, true},
        {2.0, false},
        {0.0, false},
        {nan, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << "q1 = " << c.q1);
        if (std::isfinite(c.q1)) {
            // With q1 alone the computed norm is exactly |q1|.
            ASSERT_EQ(std::sqrt(c.q1 * c.q1), std::fabs(c.q1));
        }
        QuatPose p;
        p.q1 = c.q1;
        p.unitLength = !c.unit;
        EXPECT_EQ(p.normalize(), c.unit);
        EXPECT_EQ(p.unitLength, c.unit);
        if (std::isfinite(c.q1) && c.q1 != 0.0) {
            // Divided whatever the verdict.
            EXPECT_EQ(p.q1, std::copysign(1.0, c.q1));
        }
    }
}

TEST(QuatPoseTest, NormalizeUsesAllFourComponents) {
    const struct {
        double scale;
        bool unit;
    } cases[] = {
        {1.0, true}, {1.000004, true}, {0.999996, true}, {1.00001, false}, {0.99999, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        QuatPose p;
        p.q1 = 0.5 * c.scale;
        p.q2 = -0.5 * c.scale;
        p.q3 = 0.5 * c.scale;
        p.q4 = 0.5 * c.scale;
        EXPECT_EQ(p.normalize(), c.unit);
        expectQuaternionNear({0.5, -0.5, 0.5, 0.5}, p, 1e-15);
    }
}

TEST(QuatPoseTest, MakeQuatPoseWidensExactlyAndNormalizes) {
    const QuatPose p = makeQuatPose(0.1f, -2.5f, 1234.567f, 0.7071068f, 0.0f, 0.0f, 0.7071068f);
    EXPECT_EQ(p.x, static_cast<double>(0.1f));
    EXPECT_EQ(p.y, -2.5);
    EXPECT_EQ(p.z, static_cast<double>(1234.567f));
    EXPECT_TRUE(p.unitLength);
    expectQuaternionNear({std::sqrt(0.5), 0.0, 0.0, std::sqrt(0.5)}, p, 1e-15);

    const QuatPose scaled = makeQuatPose(0, 0, 0, 2.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_FALSE(scaled.unitLength);
    expectQuaternionNear({1.0, 0.0, 0.0, 0.0}, scaled, 0.0);

    EXPECT_FALSE(makeQuatPose(0, 0, 0, 0.0f, 0.0f, 0.0f, 0.0f).unitLength);
}

TEST(QuatPoseTest, QuaternionToMatrixMatchesClosedForm) {
    const QuatPose turn = makeQuatPose(1.0f, 2.0f, 3.0f, 0.7071068f, 0.0f, 0.0f, 0.7071068f);
    const Transform expected{{0, -1, 0, 1, 1, 0, 0, 2, 0, 0, 1, 3, 0, 0, 0, 1}};
    EXPECT_TRUE(transformsNear(expected, transformFromQuatPose(turn), 1e-15));

    std::mt19937 rng(4711);
    std::normal_distribution<double> normal;
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        const QuatPose p = poseOf({normal(rng), normal(rng), normal(rng), normal(rng)});
        const Transform m = transformFromQuatPose(p);
        EXPECT_TRUE(transformsNear(closedFormRotation({p.q1, p.q2, p.q3, p.q4}), m, 1e-12));
    }
}

// 180-degree turns, where the diagonal decides the branch. Expected values are
// those of the branch that must be taken: the branch that loses a tie would
// give the negated quaternion.
TEST(QuatPoseTest, MatrixToQuaternionBranchesAndTies) {
    const double third = 1.0 / 3.0;
    const double h = std::sqrt(0.5);
    const double r = 1.0 / std::sqrt(3.0);
    struct Case {
        const char* name;
        double block[9];
        Quaternion expected;
    };
    const Case cases[] = {
        {"identity", {1, 0, 0, 0, 1, 0, 0, 0, 1}, {1, 0, 0, 0}},
        {"180 about X", {1, 0, 0, 0, -1, 0, 0, 0, -1}, {0, 1, 0, 0}},
        {"180 about Y", {-1, 0, 0, 0, 1, 0, 0, 0, -1}, {0, 0, 1, 0}},
        {"180 about Z", {-1, 0, 0, 0, -1, 0, 0, 0, 1}, {0, 0, 0, 1}},
        {"tie xx = yy > zz", {0, -1, 0, -1, 0, 0, 0, 0, -1}, {0, -h, h, 0}},
        {"tie xx = zz > yy", {0, 0, -1, 0, -1, 0, -1, 0, 0}, {0, -h, 0, h}},
        {"tie yy = zz > xx", {-1, 0, 0, 0, 0, -1, 0, -1, 0}, {0, 0, -h, h}},
        {"three-way tie",
         {-third, 2 * third, -2 * third, 2 * third, -third, -2 * third, -2 * third, -2 * third,
          -third},
         {0, -r, -r, r}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Transform m = identityTransform();
        for (int k = 0; k < 9; ++k) {
            at(m, k / 3, k % 3) = c.block[k];
        }
        // Equal diagonal elements must stay equal in the inverse that the
        // conversion reads, or the case would not test a tie.
        const Transform inv = inverse(m);
        for (int a = 0; a < 3; ++a) {
            for (int b = a + 1; b < 3; ++b) {
                if (at(m, a, a) == at(m, b, b)) {
                    ASSERT_EQ(at(inv, a, a), at(inv, b, b)) << a << "," << b;
                }
            }
        }
        at(m, 0, 3) = -12.5;
        at(m, 1, 3) = 0.25;
        at(m, 2, 3) = 1e6;
        const QuatPose p = quatPoseFromTransform(m);
        EXPECT_TRUE(p.unitLength);
        expectQuaternionNear(c.expected, p, 1e-12);
        EXPECT_EQ(p.x, -12.5);
        EXPECT_EQ(p.y, 0.25);
        EXPECT_EQ(p.z, 1e6);
    }
}

// The representative that comes back from a matrix: q1 positive while the
// trace leaves room (t > 0.01, that is |q1| > 0.05), otherwise the component
// the branch solves for. No other sign rule applies.
TEST(QuatPoseTest, MatrixToQuaternionRepresentative) {
    const auto rest = [](double w) { return std::sqrt(1.0 - w * w); };
    struct Case {
        const char* name;
        Quaternion input;
        Quaternion expected;
    };
    const Case cases[] = {
        {"negative scalar part", {-0.5, 0.5, 0.5, 0.5}, {0.5, -0.5, -0.5, -0.5}},
        {"just above the threshold", {0.0501, -rest(0.0501), 0, 0}, {0.0501, -rest(0.0501), 0, 0}},
        {"below, x largest", {0.0499, -rest(0.0499), 0, 0}, {-0.0499, rest(0.0499), 0, 0}},
        {"below, y largest", {0.0499, 0, -rest(0.0499), 0}, {-0.0499, 0, rest(0.0499), 0}},
        {"below, z largest", {0.0499, 0, 0, -rest(0.0499)}, {-0.0499, 0, 0, rest(0.0499)}},
        {"below, negative scalar kept",
         {-0.0499, rest(0.0499), 0, 0},
         {-0.0499, rest(0.0499), 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QuatPose p = quatPoseFromTransform(transformFromQuatPose(poseOf(c.input)));
        EXPECT_TRUE(p.unitLength);
        expectQuaternionNear(c.expected, p, 1e-12);
    }
}

TEST(QuatPoseTest, RandomRoundTripsGiveTheSelectedRepresentative) {
    std::mt19937 rng(8086);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> position(-5000.0, 5000.0);
    int branchCount[4] = {};
    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE(i);
        Quaternion q{normal(rng), normal(rng), normal(rng), normal(rng)};
        if (i % 2 == 1) {
            q.w *= 0.02; // small scalar part: the trace is too small for the first branch
        }
        const QuatPose input = poseOf(q, position(rng), position(rng), position(rng));
        const double w = input.q1, x = input.q2, y = input.q3, z = input.q4;

        // For a unit quaternion t = 4 w^2, and comparing diagonal elements of
        // the rotation compares x^2, y^2 and z^2.
        const double margin = 1e-9;
        const double t = 4.0 * w * w;
        if (std::fabs(t - 0.01) < margin || std::fabs(x * x - y * y) < margin ||
            std::fabs(x * x - z * z) < margin || std::fabs(y * y - z * z) < margin) {
            continue;
        }
        int branch = 3;
        double chosen = z;
        if (t > 0.01) {
            branch = 0, chosen = w;
        } else if (x * x > y * y && x * x > z * z) {
            branch = 1, chosen = x;
        } else if (y * y > z * z) {
            branch = 2, chosen = y;
        }
        ++branchCount[branch];
        const double sign = chosen < 0 ? -1.0 : 1.0;

        const QuatPose back = quatPoseFromTransform(transformFromQuatPose(input));
        EXPECT_TRUE(back.unitLength);
        expectQuaternionNear({sign * w, sign * x, sign * y, sign * z}, back, 1e-12);
        EXPECT_EQ(back.x, input.x);
        EXPECT_EQ(back.y, input.y);
        EXPECT_EQ(back.z, input.z);
    }
    for (int b = 0; b < 4; ++b) {
        EXPECT_GT(branchCount[b], 10) << "branch " << b << " hardly exercised";
    }
}

} // namespace
