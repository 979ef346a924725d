#include "math/euler_pose.h"
#include "math/matrix_validation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

const wchar_t* const notOrthogonal = L"Rotation matrix not orthogonal";
const wchar_t* const notRightHanded = L"Transformation not right handed";
const wchar_t* const invalidMatrix = L"Invalid transformation matrix";

Transform rotation(double a, double b, double c) {
    EulerPose p;
    p.a = a;
    p.b = b;
    p.c = c;
    p.x = 1250.5;
    p.y = -310.0;
    p.z = 42.0;
    return transformFromEulerPose(p);
}

Transform with(Transform m, int row, int column, double value) {
    at(m, row, column) = value;
    return m;
}

Transform scaledBlock(Transform m, double factor) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            at(m, r, c) *= factor;
        }
    }
    return m;
}

Transform roundedBlock(Transform m, double unit) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            at(m, r, c) = std::round(at(m, r, c) / unit) * unit;
        }
    }
    return m;
}

TEST(MatrixValidationTest, VerdictAndMessage) {
    const Transform turned = rotation(30, -50, 100);
    Transform mirrored = turned;
    for (int r = 0; r < 3; ++r) {
        at(mirrored, r, 0) = -at(mirrored, r, 0);
    }
    struct Case {
        const char* name;
        Transform m;
        const wchar_t* message; // nullptr: a rigid transformation
    };
    const Case cases[] = {
        {"identity", identityTransform(), nullptr},
        {"rotation with translation", turned, nullptr},
        {"huge translation", with(with(turned, 0, 3, 1e30), 2, 3, -1e30), nullptr},
        {"bottom row at the tolerance", with(turned, 3, 2, 0.001), nullptr},
        {"bottom row at minus the tolerance", with(turned, 3, 0, -0.001), nullptr},
        {"bottom row 0.002 in column 0", with(turned, 3, 0, 0.002), invalidMatrix},
        {"bottom row -0.002 in column 1", with(turned, 3, 1, -0.002), invalidMatrix},
        {"bottom row 0.002 in column 2", with(turned, 3, 2, 0.002), invalidMatrix},
        // A typed 0.001 arrives in single precision, a little above the double 0.001.
        {"bottom row 0.001 as float", with(turned, 3, 2, static_cast<double>(0.001f)),
         invalidMatrix},
        {"M(3,3) = -1", with(turned, 3, 3, -1.0), nullptr},
        {"M(3,3) = 2", with(turned, 3, 3, 2.0), notOrthogonal},
        {"M(3,3) = 0", with(turned, 3, 3, 0.0), notOrthogonal},
        {"block scaled by 2", scaledBlock(turned, 2.0), notOrthogonal},
        {"block scaled by 2 and bottom row 0.5", with(scaledBlock(turned, 2.0), 3, 2, 0.5),
         notOrthogonal},
        {"block scaled within tolerance", scaledBlock(turned, 1.0004), nullptr},
        {"block scaled beyond tolerance", scaledBlock(turned, 1.002), notOrthogonal},
        {"block all zero", scaledBlock(turned, 0.0), notOrthogonal},
        {"sheared block", with(identityTransform(), 0, 1, 0.01), notOrthogonal},
        {"diagonal 1, 1, -1", with(identityTransform(), 2, 2, -1.0), notRightHanded},
        {"one column negated", mirrored, notRightHanded},
        {"one column negated and bottom row 0.5", with(mirrored, 3, 1, 0.5), notRightHanded},
        {"rounded to 4 decimals", roundedBlock(turned, 1e-4), nullptr},
        {"rounded to 4 decimals, other angles", roundedBlock(rotation(-170, 10, 45), 1e-4),
         nullptr},
        {"rounded to 4 decimals, steep pitch", roundedBlock(rotation(75, 88, -120), 1e-4), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isRigidTransform(c.m), c.message == nullptr);
        if (c.message != nullptr) {
            EXPECT_STREQ(matrixRejectionMessage(c.m), c.message);
        }
    }
}

// A matrix with a non-finite element is never rigid, and still gets one of the messages.
TEST(MatrixValidationTest, NonFiniteElementsAreRefused) {
    const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()};
    const Transform turned = rotation(-20, 35, 170);
    for (double value : values) {
        for (int i = 0; i < 16; ++i) {
            const int row = i / 4, column = i % 4;
            SCOPED_TRACE(testing::Message() << value << " at " << row << "," << column);
            const Transform m = with(turned, row, column, value);
            EXPECT_FALSE(isRigidTransform(m));
            // The orthogonality test sees the rotation block and M(3,3).
            const bool seenByOrthogonality = (row < 3 && column < 3) || (row == 3 && column == 3);
            EXPECT_STREQ(matrixRejectionMessage(m),
                         seenByOrthogonality ? notOrthogonal : invalidMatrix);
        }
    }
}

TEST(MatrixValidationTest, MagnitudesMatchInBothDirections) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double p, q;
        bool match;
    };
    const Case cases[] = {
        {1.0, 1.0, true},     {1.0, -1.0, true},    {-0.5, 0.5, true},    {1.0, 1.0019, true},
        {1.0, 1.0021, false}, {1.0019, 1.0, true},  {1.0021, 1.0, false}, {0.0, 0.0009, true},
        {0.0, 0.0011, false}, {0.0011, 0.0, false}, {nan, 1.0, false},    {1.0, nan, false},
        {nan, nan, false},
    };
    for (const Case& c : cases) {
        // Every element takes part, so try the pair at each position.
        for (int i = 0; i < 16; ++i) {
            SCOPED_TRACE(testing::Message() << c.p << " against " << c.q << " at " << i);
            Transform p = identityTransform();
            Transform q = identityTransform();
            p.e[i] = c.p;
            q.e[i] = c.q;
            EXPECT_EQ(magnitudesMatch(p, q), c.match);
        }
    }
}

TEST(MatrixValidationTest, NearlyEqualIsStrictOnBothSides) {
    ASSERT_EQ(0.0 + 0.001, 0.001);
    struct Case {
        double a, b;
        bool equal;
    };
    const Case cases[] = {
        {0.0, 0.0, true},     {0.0, std::nextafter(0.001, 0.0), true},
        {0.0, 0.001, false},  {0.0, std::nextafter(-0.001, 0.0), true},
        {0.0, -0.001, false}, {2.0, 2.0009, true},
        {2.0, 2.0011, false}, {-2.0, -2.0011, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " against " << c.b);
        EXPECT_EQ(nearlyEqual(c.a, c.b), c.equal);
    }
}

TEST(MatrixValidationTest, RightHandednessChecksEveryComponentOfTheCrossProduct) {
    struct Case {
        int row;
        double value;
        bool rightHanded;
    };
    // Each row changes one element of the identity's third column.
    const Case cases[] = {{0, 0.0009, true},  {0, 0.002, false}, {1, -0.0009, true},
                          {1, -0.002, false}, {2, 0.9991, true}, {2, 0.998, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "M(" << c.row << ",2) = " << c.value);
        EXPECT_EQ(isRightHanded(with(identityTransform(), c.row, 2, c.value)), c.rightHanded);
    }
    // Neither the translation nor the bottom row is read.
    Transform m = with(identityTransform(), 0, 3, 1e9);
    at(m, 3, 0) = 5.0;
    at(m, 3, 3) = -3.0;
    EXPECT_TRUE(isRightHanded(m));
}

} // namespace
