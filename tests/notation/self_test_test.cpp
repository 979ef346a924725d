#include "notation/self_test.h"

#include "math/euler_pose.h"
#include "math/quat_pose.h"
#include "notation/abb_text.h"
#include "notation/fanuc_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

namespace {

// What the two references read back as in the comparison formats.
const char* const abbReferenceText = "-241.8 1859.9 -964.0 0.1949 -0.8776 -0.3392 0.2773";
const char* const fanucReferenceText = "374.3 685.1 1063.4 104.2 -33.8 29.6";

::testing::AssertionResult rotationsNear(const Transform& p, const Transform& q) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (std::fabs(at(p, r, c) - at(q, r, c)) > 1e-6) {
                return ::testing::AssertionFailure()
                       << "element (" << r << ", " << c << "): " << at(p, r, c) << " vs "
                       << at(q, r, c);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

std::string abbText(const QuatPose& pose) {
    char text[comparisonTextSize];
    EXPECT_TRUE(formatAbbComparison(pose, text, comparisonTextSize));
    return text;
}

std::string fanucText(const EulerPose& pose) {
    char text[comparisonTextSize];
    EXPECT_TRUE(formatFanucComparison(pose, text, comparisonTextSize));
    return text;
}

struct AbbFrames {
    Transform userFrames[4];
    Transform tools[5];
    Transform positions[3][4];
};

AbbFrames readAbbFrames() {
    AbbFrames frames;
    for (int k = 0; k < 4; ++k) {
        QuatPose pose;
        EXPECT_TRUE(parseAbbText(abbSelfTestData.userFrames[k], pose)) << "user frame " << k;
        frames.userFrames[k] = transformFromQuatPose(pose);
    }
    for (int k = 0; k < 5; ++k) {
        QuatPose pose;
        EXPECT_TRUE(parseAbbText(abbSelfTestData.tools[k], pose)) << "tool " << k;
        frames.tools[k] = transformFromQuatPose(pose);
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            QuatPose pose;
            EXPECT_TRUE(parseAbbText(abbSelfTestData.positions[i][j], pose));
            frames.positions[i][j] = transformFromQuatPose(pose);
        }
    }
    return frames;
}

} // namespace

TEST(SelfTest, BothBuiltInSetsPass) {
    EXPECT_TRUE(selfTestAbb());
    EXPECT_TRUE(selfTestFanuc());
    EXPECT_TRUE(runSelfTest());
}

TEST(SelfTest, ReferencesReadBackAsPrinted) {
    QuatPose abb;
    ASSERT_TRUE(parseAbbText(abbSelfTestData.reference, abb));
    EXPECT_EQ(abbText(abb), abbReferenceText);
    EulerPose fanuc;
    ASSERT_TRUE(parseFanucText(fanucSelfTestData.reference, fanuc));
    EXPECT_EQ(fanucText(fanuc), fanucReferenceText);
}

TEST(SelfTest, EveryCombinationGivesTheReferenceText) {
    const AbbFrames abb = readAbbFrames();
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 4; ++j) {
            SCOPED_TRACE("ABB user frame " + std::to_string(i) + ", tool " + std::to_string(j));
            const Transform flange =
                flangeTransform(abb.userFrames[i], abb.positions[i - 1][j - 1], abb.tools[j]);
            EXPECT_EQ(abbText(quatPoseFromTransform(flange)), abbReferenceText);
        }
    }
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 4; ++j) {
            SCOPED_TRACE("FANUC user frame " + std::to_string(i) + ", tool " + std::to_string(j));
            EulerPose u, p, t;
            ASSERT_TRUE(parseFanucText(fanucSelfTestData.userFrames[i], u));
            ASSERT_TRUE(parseFanucText(fanucSelfTestData.positions[i - 1][j - 1], p));
            ASSERT_TRUE(parseFanucText(fanucSelfTestData.toolFrames[j], t));
            const Transform flange = flangeTransform(
                transformFromEulerPose(u), transformFromEulerPose(p), transformFromEulerPose(t));
            EXPECT_EQ(fanucText(eulerPoseFromTransform(flange)), fanucReferenceText);
        }
    }
}

// Any other order of the three factors must miss the reference, or the test
// could not catch a product written the wrong way round.
TEST(SelfTest, OtherProductOrdersMissTheReference) {
    const AbbFrames abb = readAbbFrames();
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 4; ++j) {
            SCOPED_TRACE("user frame " + std::to_string(i) + ", tool " + std::to_string(j));
            const Transform u = abb.userFrames[i];
            const Transform p = abb.positions[i - 1][j - 1];
            const Transform toolInverse = inverse(abb.tools[j]);
            const Transform swapped[] = {
                multiply(multiply(p, u), toolInverse),  // position before user frame
                multiply(multiply(toolInverse, u), p),  // tool inverse first
                multiply(multiply(u, toolInverse), p),  // tool inverse before position
                multiply(multiply(u, p), abb.tools[j]), // tool not inverted
            };
            for (const Transform& m : swapped) {
                EXPECT_NE(abbText(quatPoseFromTransform(m)), abbReferenceText);
            }
        }
    }
}

// The negated quaternion and the other Euler triple describe the reference's
// own rotation, yet the comparison must refuse them: it pins the sign and
// angle choices of the conversions.
TEST(SelfTest, EquivalentButDifferentReferencesFail) {
    AbbSelfTestData abb = abbSelfTestData;
    abb.reference = L"[[-241.843,1859.88,-963.99],[-0.194855,0.877551,0.339214,-0.277253]]";
    QuatPose original, negated;
    ASSERT_TRUE(parseAbbText(abbSelfTestData.reference, original));
    ASSERT_TRUE(parseAbbText(abb.reference, negated));
    EXPECT_TRUE(rotationsNear(transformFromQuatPose(original), transformFromQuatPose(negated)));
    EXPECT_FALSE(selfTestAbb(abb));

    FanucSelfTestData fanuc = fanucSelfTestData;
    fanuc.reference = L"  X =  374.308  mm,  Y =  685.112  mm,  Z = 1063.404  mm,  W =  -75.818 "
                      L"deg,  P = -146.213 deg,  R = -150.391 deg,";
    EulerPose usual, other;
    ASSERT_TRUE(parseFanucText(fanucSelfTestData.reference, usual));
    ASSERT_TRUE(parseFanucText(fanuc.reference, other));
    EXPECT_TRUE(rotationsNear(transformFromEulerPose(usual), transformFromEulerPose(other)));
    EXPECT_FALSE(selfTestFanuc(fanuc));
}

TEST(SelfTest, AlteredAbbDataFails) {
    struct Case {
        const char* what;
        void (*alter)(AbbSelfTestData&);
    };
    const Case cases[] = {
        {"identity user frame unreadable",
         [](AbbSelfTestData& d) { d.userFrames[0] = L"[[0,0,0],[1,0,0]]"; }},
        {"identity tool unreadable", [](AbbSelfTestData& d) { d.tools[0] = L"[0,0,0],[1,0,0,0]"; }},
        {"user frame unreadable",
         [](AbbSelfTestData& d) {
             d.userFrames[2] = L"[[1147.33; -1108.71, -4388.33],[0.0365547, 0.717275, "
                               L"-0.0694656, 0.692354]]";
         }},
        {"tool unreadable",
         [](AbbSelfTestData& d) {
             d.tools[4] = L"[[212.007, 429.39, 204.107], [0.168053, 0.974311, -0.0706282]]";
         }},
        {"position unreadable",
         [](AbbSelfTestData& d) {
             d.positions[1][2] = L"[[ 3670.78, -3741.31, -1646.45],(0.1852210, -0.637373, "
                                 L"-0.2813860,  0.69301500]]";
         }},
        {"position one millimetre off",
         [](AbbSelfTestData& d) {
             d.positions[2][3] = L"[[-3881.17, -2090.92, -884.594],[0.5886950,  0.139838,  "
                                 L"0.5377420, -0.58712700]]";
         }},
        {"reference unreadable", [](AbbSelfTestData& d) { d.reference = L""; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AbbSelfTestData data = abbSelfTestData;
        c.alter(data);
        EXPECT_FALSE(selfTestAbb(data));
    }
}

TEST(SelfTest, AlteredFanucDataFails) {
    struct Case {
        const char* what;
        void (*alter)(FanucSelfTestData&);
    };
    const Case cases[] = {
        {"zero user frame unreadable",
         [](FanucSelfTestData& d) { d.userFrames[0] = L"  x =    0.000  mm"; }},
        {"zero tool frame unreadable",
         [](FanucSelfTestData& d) { d.toolFrames[0] = L"  X =  mm,  W = deg"; }},
        {"user frame unreadable",
         [](FanucSelfTestData& d) {
             d.userFrames[3] = L"  x =  163.260  mm,  y =  496.300  mm,  z =  492.370  mm,  w = "
                               L"-175.621 deg,  p =   81.363 deg,  r =  -26.351 deg,";
         }},
        {"position unreadable",
         [](FanucSelfTestData& d) {
             d.positions[0][1] = L"UF : 1, UT : 2,  x = 2331.419  mm,  y = -1320.885  mm,  z =  "
                                 L"907.845  mm,   w = -123.692 deg,  p =   14.433 deg,  r = "
                                 L"-105.455 deg,";
         }},
        {"position angle one degree off",
         [](FanucSelfTestData& d) {
             d.positions[2][0] = L"UF : 3, UT : 1,  X = -395.882  mm,  Y =   -69.650  mm,  Z = "
                                 L"-583.638  mm,   W =  175.537 deg,  P =  -29.294 deg,  R =   "
                                 L"57.611 deg,";
         }},
        {"reference unreadable",
         [](FanucSelfTestData& d) { d.reference = L"UF : 1, UT : 1, no values"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FanucSelfTestData data = fanucSelfTestData;
        c.alter(data);
        EXPECT_FALSE(selfTestFanuc(data));
    }
}

TEST(SelfTest, ComparisonTextsDoNotOverrunTheirBuffer) {
    QuatPose pose;
    pose.x = 1e300;
    char small[16];
    EXPECT_FALSE(formatAbbComparison(pose, small, sizeof small));
    EXPECT_STREQ(small, "");
    char text[comparisonTextSize];
    EXPECT_TRUE(formatAbbComparison(pose, text, comparisonTextSize));
    EulerPose euler;
    euler.x = 0.26;
    euler.c = -0.04;
    EXPECT_TRUE(formatFanucComparison(euler, text, comparisonTextSize));
    EXPECT_STREQ(text, "0.3 0.0 0.0 -0.0 0.0 0.0");
}

// It runs inside window creation, before the user sees the window.
TEST(SelfTest, RunsQuickly) {
    const int runs = 50;
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < runs; ++k) {
        ASSERT_TRUE(runSelfTest());
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed.count() / runs, 5.0);
}
