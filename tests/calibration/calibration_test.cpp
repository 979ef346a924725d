// The calibration methods against frames and tools they must give back:
// points generated from random known frames, each vendor's convention on
// one case checked by hand, noise, mirror images and every refusal.

#include "calibration/point_frame.h"
#include "calibration/rigid_fit.h"
#include "calibration/symmetric_eigen.h"
#include "calibration/tool_fit.h"
#include "math/euler_pose.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace {

// Rotations within 1e-9 rad (elements of the matrix) and translations within 1e-9 mm.
::testing::AssertionResult framesNear(const Transform& expected, const Transform& actual,
                                      double tolerance = 1e-9) {
    double worst = 0.0;
    for (int k = 0; k < 16; ++k) {
        worst = std::max(worst, std::fabs(expected.e[k] - actual.e[k]));
    }
    if (worst <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure() << "largest difference " << worst << "\n";
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            failure << at(expected, r, c) << (c == 3 ? "" : " ");
        }
        failure << "    |    ";
        for (int c = 0; c < 4; ++c) {
            failure << at(actual, r, c) << (c == 3 ? "\n" : " ");
        }
    }
    return failure;
}

struct Random {
    std::mt19937_64 engine{20261209};
    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(engine);
    }
    Transform frame(double reach) {
        return transformFromEulerPose(EulerPose{uniform(-reach, reach), uniform(-reach, reach),
                                                uniform(-reach, reach), uniform(-180, 180),
                                                uniform(-89, 89), uniform(-180, 180)});
    }
};

std::vector<std::string> namesOf(std::size_t count) {
    std::vector<std::string> names;
    for (std::size_t k = 0; k < count; ++k) {
        // Appended rather than concatenated: GCC 12 mistakes "P" + text for
        // an overlapping copy.
        names.push_back(std::string(1, 'P').append(std::to_string(k + 1)));
    }
    return names;
}

TEST(FramePointsTest, RandomFramesComeBackByEveryMethod) {
    Random random;
    for (int round = 0; round < 200; ++round) {
        const Transform frame = random.frame(2000);
        // In the frame's own coordinates: X start and X points on +X, the
        // plane point on the +Y side anywhere along X.
        const double start = random.uniform(-300, 300);
        const double along = start + random.uniform(50, 800);
        const Point3 plane{random.uniform(-500, 500), random.uniform(30, 800), 0};
        for (const FrameMethodInfo& info : allFrameMethods()) {
            SCOPED_TRACE(std::string(info.name) + " round " + std::to_string(round));
            std::vector<Point3> local = {{0, 0, 0}, {along - start, 0, 0}, plane};
            if (info.method == FrameMethod::fanuc4) {
                local = {{start, 0, 0}, {along, 0, 0}, plane, {0, 0, 0}};
            } else if (info.method == FrameMethod::abb) {
                local = {{start, 0, 0}, {along, 0, 0}, plane};
                local[2].x = 0; // the origin is the foot of Y1
            }
            std::vector<Point3> points;
            for (const Point3& p : local) {
                points.push_back(apply(frame, p));
            }
            const PointFrame result = framePoints(info.method, points, namesOf(points.size()));
            ASSERT_TRUE(result.ok) << result.refusal;
            EXPECT_TRUE(framesNear(frame, result.frame, 1e-9 * 2000));
        }
    }
}

TEST(FramePointsTest, EachVendorsSignsAndOriginOnAHandCheckedCase) {
    struct Case {
        FrameMethod method;
        std::vector<Point3> points;
        Transform expected;
    };
    // X along the world's +Y, the plane point on the world's -X: Z stays up.
    Transform turned = rotationZ(std::numbers::pi / 2);
    at(turned, 0, 3) = 10;
    at(turned, 1, 3) = 20;
    at(turned, 2, 3) = 30;
    // The plane point on the world's -Y: the frame is turned over about X.
    const Transform over = rotationX(std::numbers::pi);
    // FANUC's origin as taught, off the plane of the other three.
    Transform offPlane = identityTransform();
    at(offPlane, 0, 3) = 5;
    at(offPlane, 1, 3) = 5;
    at(offPlane, 2, 3) = 7;
    // ABB: Y1 taught off X1, so the origin is the foot at X = 250, not X1.
    Transform foot = identityTransform();
    at(foot, 0, 3) = 250;
    const Case cases[] = {
        {FrameMethod::kuka, {{10, 20, 30}, {10, 120, 30}, {0, 20, 30}}, turned},
        {FrameMethod::fanuc, {{0, 0, 0}, {100, 0, 0}, {50, -80, 0}}, over},
        {FrameMethod::fanuc4, {{0, 0, 0}, {100, 0, 0}, {30, 60, 0}, {5, 5, 7}}, offPlane},
        {FrameMethod::abb, {{100, 0, 0}, {400, 0, 0}, {250, 200, 0}}, foot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(allFrameMethods()[static_cast<int>(c.method)].name);
        const PointFrame result = framePoints(c.method, c.points, namesOf(c.points.size()));
        ASSERT_TRUE(result.ok) << result.refusal;
        EXPECT_TRUE(framesNear(c.expected, result.frame, 1e-12 * 1000));
    }
    const PointFrame abb = framePoints(FrameMethod::abb, cases[3].points, namesOf(3));
    EXPECT_NEAR(abb.planeDistance, 200.0, 1e-12);
    EXPECT_NEAR(abb.planeAngleDeg, 2 * std::atan(150.0 / 200.0) * 180 / std::numbers::pi, 1e-12);
}

TEST(RigidFitTest, ExactPointsGiveTheFrameAndNoisyOnesResidualsOfTheNoisesSize) {
    Random random;
    std::normal_distribution<double> noise(0.0, 0.05);
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        const Transform frame = random.frame(3000);
        std::vector<Point3> nominal, exact, noisy;
        for (int k = 0; k < 40; ++k) {
            nominal.push_back(
                {random.uniform(-800, 800), random.uniform(-800, 800), random.uniform(-300, 300)});
            exact.push_back(apply(frame, nominal.back()));
            noisy.push_back(exact.back() + Point3{noise(random.engine), noise(random.engine),
                                                  noise(random.engine)});
        }
        const RigidFit fit = fitRigid(nominal, exact, namesOf(40));
        ASSERT_TRUE(fit.ok) << fit.refusal;
        EXPECT_TRUE(framesNear(frame, fit.frame, 1e-9 * 3000));
        EXPECT_LT(fit.max, 1e-9 * 3000);
        EXPECT_FALSE(fit.mirrored);
        const RigidFit rough = fitRigid(nominal, noisy, namesOf(40));
        ASSERT_TRUE(rough.ok);
        // Three axes of noise of 0.05 mm: about 0.087 mm a point, less the
        // six degrees of freedom the fit takes up.
        EXPECT_GT(rough.rms, 0.06);
        EXPECT_LT(rough.rms, 0.11);
        EXPECT_EQ(rough.residuals.size(), 40u);
        EXPECT_EQ(rough.max, rough.residuals[rough.worst]);
    }
}

TEST(RigidFitTest, AMirrorImageIsWarnedAboutUnlessThePointsLieInOnePlane) {
    struct Case {
        const char* what;
        std::vector<Point3> points;
        bool warned;
    };
    const Case cases[] = {
        {"solid", {{0, 0, 0}, {500, 0, 0}, {0, 400, 0}, {0, 0, 300}, {200, 100, 50}}, true},
        {"flat", {{0, 0, 0}, {500, 0, 0}, {0, 400, 0}, {300, 300, 0}}, false},
        {"flat but for microns",
         {{0, 0, 0.001}, {500, 0, -0.002}, {0, 400, 0.001}, {300, 300, 0}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Point3> mirrored;
        for (const Point3& p : c.points) {
            mirrored.push_back({p.x + 100, p.y, -p.z + 20}); // reflected in the plane z = 10
        }
        const RigidFit fit = fitRigid(c.points, mirrored, namesOf(c.points.size()));
        ASSERT_TRUE(fit.ok);
        EXPECT_EQ(fit.mirrored, c.warned);
        EXPECT_NEAR(determinant(fit.frame), 1.0, 1e-12);
        // Unmirrored, the same points are never warned about.
        EXPECT_FALSE(fitRigid(c.points, c.points, namesOf(c.points.size())).mirrored);
    }
}

TEST(ToolFitTest, RandomToolsComeBackWithTheirFixedPointAndOrientation) {
    Random random;
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        const Transform tool = random.frame(250);
        const Point3 tcp = translationOf(tool);
        const Point3 fixed{random.uniform(500, 1500), random.uniform(-800, 800),
                           random.uniform(0, 900)};
        std::vector<Transform> poses;
        for (int k = 0; k < 6; ++k) {
            Transform pose = random.frame(0);
            const Point3 p = fixed - rotate(pose, tcp);
            at(pose, 0, 3) = p.x;
            at(pose, 1, 3) = p.y;
            at(pose, 2, 3) = p.z;
            poses.push_back(pose);
        }
        // Moved, not turned, until the tip lies on the tool's +Z, then +X.
        ToolFitSettings settings;
        settings.reference = 2;
        const Transform toolInWorld = multiply(poses[2], tool);
        for (auto [axis, column, distance] :
             {std::tuple{&settings.zPose, 2, 120.0}, std::tuple{&settings.xPose, 0, 80.0}}) {
            axis->given = true;
            axis->name.assign(1, column == 2 ? 'Z' : 'X');
            axis->pose = poses[2];
            for (int r = 0; r < 3; ++r) {
                at(axis->pose, r, 3) -= distance * at(toolInWorld, r, column);
            }
        }
        const ToolFit fit = fitTool(poses, namesOf(6), settings);
        ASSERT_TRUE(fit.ok) << fit.refusal;
        EXPECT_TRUE(framesNear(tool, fit.tool, 1e-9 * 250));
        EXPECT_LT(length(fit.fixedPoint - fixed), 1e-9 * 1500);
        EXPECT_LT(fit.max, 1e-9 * 1500);
        settings.zPose.given = settings.xPose.given = false;
        const ToolFit flange = fitTool(poses, namesOf(6), settings);
        ASSERT_TRUE(flange.ok);
        Transform position = identityTransform();
        at(position, 0, 3) = tcp.x;
        at(position, 1, 3) = tcp.y;
        at(position, 2, 3) = tcp.z;
        EXPECT_TRUE(framesNear(position, flange.tool, 1e-9 * 250));
    }
}

TEST(SymmetricEigenTest, RandomMatricesAndRepeatedEigenvaluesDecomposeToTheLastBits) {
    Random random;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const int n = 3 + round % 2;
        double a[16];
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c <= r; ++c) {
                // Every fifth matrix is a multiple of the identity plus a
                // rank-one part: a repeated eigenvalue.
                const double value = round % 5 == 0 ? (r == c ? 2.0 : 0.0) + (r + 1.0) * (c + 1.0)
                                                    : random.uniform(-1000, 1000);
                a[n * r + c] = a[n * c + r] = value;
            }
        }
        const SymmetricEigen eigen = symmetricEigen(a, n);
        for (int k = 0; k < n; ++k) {
            if (k > 0) {
                EXPECT_GE(eigen.values[k - 1], eigen.values[k]);
            }
            for (int r = 0; r < n; ++r) {
                double av = 0.0;
                for (int c = 0; c < n; ++c) {
                    av += a[n * r + c] * eigen.vectors[k][c];
                }
                EXPECT_NEAR(av, eigen.values[k] * eigen.vectors[k][r], 1e-10 * 2000);
            }
            for (int j = 0; j < n; ++j) {
                double product = 0.0;
                for (int r = 0; r < n; ++r) {
                    product += eigen.vectors[k][r] * eigen.vectors[j][r];
                }
                EXPECT_NEAR(product, j == k ? 1.0 : 0.0, 1e-13);
            }
        }
    }
}

TEST(ToolFitTest, AZPoseAloneTurnsTheFlangesZOntoTheToolsByTheSmallestRotation) {
    // Four poses on the fixed point (0, 0, 0) of a TCP at (0, 0, 200), the
    // tool's Z tilted 30 degrees toward the flange's +X.
    const Point3 tcp{0, 0, 200};
    std::vector<Transform> poses;
    for (const EulerPose turn :
         {EulerPose{0, 0, 0, 0, 180, 0}, EulerPose{0, 0, 0, 90, 150, 0},
          EulerPose{0, 0, 0, 0, 180, 35}, EulerPose{0, 0, 0, -70, 160, 20}}) {
        Transform pose = transformFromEulerPose(turn);
        const Point3 p = Point3{} - rotate(pose, tcp);
        at(pose, 0, 3) = p.x;
        at(pose, 1, 3) = p.y;
        at(pose, 2, 3) = p.z;
        poses.push_back(pose);
    }
    const Transform tilted = rotationY(std::numbers::pi / 6);
    ToolFitSettings settings;
    settings.reference = 3;
    settings.zPose = AxisPose{true, poses[3], "--z-pose Z"};
    const Point3 z = rotate(multiply(poses[3], tilted), Point3{0, 0, 1});
    for (int r = 0; r < 3; ++r) {
        at(settings.zPose.pose, r, 3) -= 100.0 * (r == 0 ? z.x : r == 1 ? z.y : z.z);
    }
    const ToolFit fit = fitTool(poses, namesOf(4), settings);
    ASSERT_TRUE(fit.ok) << fit.refusal;
    Transform expected = tilted;
    at(expected, 2, 3) = 200;
    EXPECT_TRUE(framesNear(expected, fit.tool, 1e-9 * 200));
}

// Everything that must be refused, and the names its message must carry.
TEST(RefusalTest, InputsThatDefineNoFrameAreRefusedByName) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::string> three = {"ORIG", "XPT", "YPT"};
    struct FrameCase {
        const char* what;
        FrameMethod method;
        std::vector<Point3> points;
        std::vector<std::string> names;
        const char* named;
    };
    const FrameCase frames[] = {
        {"not finite", FrameMethod::kuka, {{0, 0, 0}, {nan, 0, 0}, {0, 1, 0}}, three, "XPT"},
        {"one spot",
         FrameMethod::kuka,
         {{0, 0, 0}, {5e-7, 0, 0}, {0, 1, 0}},
         three,
         "ORIG and XPT"},
        {"one line", FrameMethod::abb, {{0, 0, 0}, {100, 0, 0}, {300, 2e-7, 0}}, three, "YPT"},
        {"too few", FrameMethod::fanuc4, {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}}, three, "4 points"},
    };
    for (const FrameCase& c : frames) {
        SCOPED_TRACE(c.what);
        const PointFrame result = framePoints(c.method, c.points, c.names);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.refusal.find(c.named), std::string::npos) << result.refusal;
    }
    const std::vector<Point3> line = {{0, 0, 0}, {100, 100, 100}, {200, 200, 200}, {50, 50, 50}};
    const std::vector<Point3> square = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}, {100, 100, 0}};
    EXPECT_NE(fitRigid(line, square, namesOf(4))
                  .refusal.find("nominal points P1, P2, P3 and P4 lie on one line"),
              std::string::npos);
    EXPECT_NE(fitRigid(square, {square.data(), 3}, namesOf(4)).refusal.find("4"),
              std::string::npos);
    EXPECT_FALSE(fitRigid({square.data(), 2}, {square.data(), 2}, namesOf(2)).ok);

    // Poses turned only a little, or all about one axis (here the flange's Z).
    std::vector<Transform> alike, aboutZ;
    for (int k = 0; k < 5; ++k) {
        alike.push_back(transformFromEulerPose(EulerPose{k * 10.0, 0, 0, k * 0.5, k * -0.4, 0}));
        aboutZ.push_back(transformFromEulerPose(EulerPose{0, k * 5.0, 0, k * 40.0, 0, 0}));
    }
    EXPECT_NE(fitTool(alike, namesOf(5), {}).refusal.find("too alike"), std::string::npos);
    const ToolFit axis = fitTool(aboutZ, namesOf(5), {});
    EXPECT_NE(axis.refusal.find("about one axis"), std::string::npos) << axis.refusal;
    EXPECT_NE(axis.refusal.find("0.000, 1.000"), std::string::npos) << axis.refusal;
    EXPECT_NE(fitTool({aboutZ.data(), 3}, namesOf(3), {}).refusal.find("at least 4"),
              std::string::npos);

    // A Z pose turned by 0.2 degrees from the reference pose.
    std::vector<Transform> spread;
    for (int k = 0; k < 4; ++k) {
        spread.push_back(transformFromEulerPose(
            EulerPose{100.0 * k, 0, 0, 40.0 * k, 30.0 * (k % 2), 20.0 * (k / 2)}));
    }
    ToolFitSettings settings;
    settings.reference = 3;
    settings.zPose =
        AxisPose{true, multiply(spread[3], rotationX(0.2 * std::numbers::pi / 180)), "--z-pose Z1"};
    at(settings.zPose.pose, 2, 3) += 50;
    const ToolFit turned = fitTool(spread, namesOf(4), settings);
    EXPECT_NE(turned.refusal.find("--z-pose Z1 is turned by 0.2"), std::string::npos)
        << turned.refusal;
    EXPECT_NE(turned.refusal.find("P4"), std::string::npos);
}

} // namespace
