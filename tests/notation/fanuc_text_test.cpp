#include "notation/fanuc_text.h"

#include "pose_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

double single(float value) {
    return static_cast<double>(value);
}

struct FanucCase {
    const wchar_t* text;
    bool read;
    EulerPose pose; // x, y, z, a (R), b (P), c (W); 7 marks a field left alone
};

TEST(FanucText, ReadsTheLabelledValuesFromTheFirstUpperCaseX) {
    const FanucCase cases[] = {
        {L"UF : 1, UT : 1,  X = 2351.720  mm,  Y = -1306.704  mm,  Z =  961.953  mm,   "
         L"W = -104.182 deg,  P =   33.787 deg,  R =  -60.391 deg,",
         true,
         {single(2351.72f), single(-1306.704f), single(961.953f), single(-60.391f), single(33.787f),
          single(-104.182f)}},
        {L"  X =    0.000  mm,  Y =    0.000  mm,  Z =    0.000  mm,  W =    0.000 deg,  "
         L"P =    0.000 deg,  R =    0.000 deg,",
         true,
         {0, 0, 0, 0, 0, 0}},
        // The scan starts three characters after the letter, whatever stands there.
        {L"X=1948", true, {948, 7, 7, 7, 7, 7}},
        {L"X = 5", true, {5, 7, 7, 7, 7, 7}},
        {L"X = 1, Y = 1e39 mm", true, {1, 0, 7, 7, 7, 7}},
        // Labels in front of the anchor are not seen.
        {L"W = 4, X = 1", true, {1, 7, 7, 7, 7, 7}},
        // Remote-TCP listings hold the member letters inside other labels
        // first; each member takes the occurrence that is followed by "=".
        {L"RX = 341.681 mm, RY = -170.477 mm, RZ = 512.5 mm, RW = 10.25 deg, "
         L"RP = -20.5 deg, RR = 72.713 deg",
         true,
         {single(341.681f), single(-170.477f), 512.5, single(72.713f), -20.5, 10.25}},
        {L"RX= 341.681 mm, RY= -170.477 mm, RZ= 512.5 mm, RW= 10.25 deg, "
         L"RP= -20.5 deg, RR= 72.713 deg",
         true,
         {single(341.681f), single(-170.477f), 512.5, single(72.713f), -20.5, 10.25}},
        // Without any "=" the first occurrence counts, as it always did.
        {L"X  12.5 Y  -3", true, {12.5, -3, 7, 7, 7, 7}},
    };
    for (const FanucCase& c : cases) {
        SCOPED_TRACE(traceText(c.text));
        EulerPose pose = untouchedEulerPose();
        EXPECT_EQ(parseFanucText(c.text, pose), c.read);
        EXPECT_TRUE(posesNear(pose, c.pose));
    }
}

TEST(FanucText, StoresTheValuesInSinglePrecision) {
    EulerPose pose;
    ASSERT_TRUE(parseFanucText(L"X = 2351.720  mm", pose));
    EXPECT_EQ(pose.x, 2351.719970703125);
}

TEST(FanucText, EquivalentSpellingsGiveTheSamePose) {
    const wchar_t* texts[] = {
        L"X = 1  mm,  Y = 2  mm,  Z = 3  mm,  W = 4 deg,  P = 5 deg,  R = 6 deg",
        L"  X =    1.000  mm,  Y =    2.000  mm,  Z =    3.000  mm,\n"
        L"  W =    4.000 deg,  P =    5.000 deg,  R =    6.000 deg\n",
        L"UF : 1, UT : 1,  X = 1 mm, Y = 2 mm, Z = 3 mm, W = 4 deg, P = 5 deg, R = 6 deg,",
        L"X = 1, y = 2, z = 3, w = 4, p = 5, r = 6",
        L"X = 1, R = 6, P = 5, W = 4, Z = 3, Y = 2",
        L"X =\t1, Y = +2, Z = 3e0, W = 4., P = 0.5E1, R = 6",
        L"X =1, Y =2, Z =3, W =4, P =5, R =6",
        L"P[1]{ GP1: UF : 0, UT : 1, CONFIG : 'N U T, 0, 0, 0', X = 1 mm, Y = 2 mm, "
        L"Z = 3 mm, W = 4 deg, P = 5 deg, R = 6 deg };",
    };
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(traceText(text));
        EulerPose pose = untouchedEulerPose();
        EXPECT_TRUE(parseFanucText(text, pose));
        EXPECT_TRUE(posesNear(pose, {1, 2, 3, 6, 5, 4}));
    }
}

TEST(FanucText, RefusesTextWithoutUpperCaseXAndLeavesThePose) {
    const std::wstring beyondLimit = std::wstring(511, L' ') + L"X = 5";
    const std::wstring huge = std::wstring(100000, L'9') + L"X = 5";
    const wchar_t* texts[] = {L"",      L"x = 1, y = 2",     L"Y = 2, Z = 3",
                              L"{x 1}", beyondLimit.c_str(), huge.c_str()};
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(traceText(text));
        EulerPose pose = untouchedEulerPose();
        EXPECT_FALSE(parseFanucText(text, pose));
        EXPECT_TRUE(posesNear(pose, untouchedEulerPose()));
    }
}

TEST(FanucText, MembersWithoutANumberBecomeZero) {
    const FanucCase cases[] = {
        {L"X", false, {0, 7, 7, 7, 7, 7}},
        {L"X =", false, {0, 7, 7, 7, 7, 7}},
        {L"X = ?, P = -", false, {0, 7, 7, 7, 0, 7}},
        {L"X = 1e39, Y = -1e40", false, {0, 0, 7, 7, 7, 7}},
        {L"X  = 1", false, {0, 7, 7, 7, 7, 7}},
    };
    for (const FanucCase& c : cases) {
        SCOPED_TRACE(traceText(c.text));
        EulerPose pose = untouchedEulerPose();
        EXPECT_EQ(parseFanucText(c.text, pose), c.read);
        EXPECT_TRUE(posesNear(pose, c.pose));
    }
}

TEST(FanucText, WritesTwoLinesWithRightAlignedValues) {
    const struct {
        EulerPose pose;
        const wchar_t* text;
    } cases[] = {
        {{},
         L"  X =    0.000  mm,  Y =    0.000  mm,  Z =    0.000  mm,\n"
         L"  W =    0.000 deg,  P =    0.000 deg,  R =    0.000 deg\n"},
        {{2351.72, -1306.704, 961.953, -60.391, 33.787, -104.182},
         L"  X = 2351.720  mm,  Y =-1306.704  mm,  Z =  961.953  mm,\n"
         L"  W = -104.182 deg,  P =   33.787 deg,  R =  -60.391 deg\n"},
        {{12345.678, -12345.678, -0.0004, -0.0, 180, 0.0005},
         L"  X = 12345.678  mm,  Y =-12345.678  mm,  Z =   -0.000  mm,\n"
         L"  W =    0.001 deg,  P =  180.000 deg,  R =   -0.000 deg\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.pose));
        wchar_t buffer[4096];
        ASSERT_TRUE(formatFanucText(c.pose, buffer, 4095));
        EXPECT_EQ(std::wstring(buffer), c.text);
    }
}

TEST(FanucText, WriterChecksTheCapacity) {
    wchar_t buffer[256];
    ASSERT_TRUE(formatFanucText({}, buffer, 256));
    const int needed = static_cast<int>(std::wstring(buffer).size()) + 1;
    EXPECT_TRUE(formatFanucText({}, buffer, needed));
    EXPECT_FALSE(formatFanucText({}, buffer, needed - 1));
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_FALSE(formatFanucText({}, buffer, 0));
}

} // namespace
