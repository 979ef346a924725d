#include "notation/kuka_text.h"

#include "pose_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct KukaCase {
    const wchar_t* text;
    bool read;
    EulerPose pose; // starting from untouchedEulerPose(): 7 marks a field left alone
};

TEST(KukaText, ReadsTheMembersInsideTheFirstBraces) {
    const KukaCase cases[] = {
        {L"DECL E6POS XP1={X 100.5,Y -20,Z 300,A 0,B 90,C -180,S 6,T 27,E1 0,E2 0}",
         true,
         {100.5, -20, 300, 0, 90, -180}},
        {L"{Z 3, X 1}", true, {1, 7, 3, 7, 7, 7}},
        // The "a" of "frame" comes first; its text "me: x 1" holds no number.
        {L"{FRAME: X 1, Y 2, Z 3, A 4, B 5, C 6}", true, {1, 2, 3, 0, 5, 6}},
        {L"{X 1.5E2}", true, {150, 7, 7, 7, 7, 7}},
        {L"{X 1000.123}", true, {static_cast<double>(1000.123f), 7, 7, 7, 7, 7}},
        {L"{X 0.1, C -0.1}",
         true,
         {static_cast<double>(0.1f), 7, 7, 7, 7, static_cast<double>(-0.1f)}},
        {L"{X 1, Y -}", true, {1, 0, 7, 7, 7, 7}},
        {L"{X 1, Y 1e39}", true, {1, 0, 7, 7, 7, 7}},
        {L"{X 1} Y 2, Z 3", true, {1, 7, 7, 7, 7, 7}},
        {L"{X 1, Y {2}, Z 3}", true, {1, 0, 7, 7, 7, 7}},
        {L"\u00c4\u00d6 {X 1}", true, {1, 7, 7, 7, 7, 7}},
    };
    for (const KukaCase& c : cases) {
        SCOPED_TRACE(traceText(c.text));
        EulerPose pose = untouchedEulerPose();
        EXPECT_EQ(parseKukaText(c.text, pose), c.read);
        EXPECT_TRUE(posesNear(pose, c.pose));
    }
}

TEST(KukaText, EquivalentSpellingsGiveTheSamePose) {
    const wchar_t* texts[] = {
        L"{X 1,Y 2,Z 3,A 4,B 5,C 6}",
        L"{x 1, y 2, z 3, a 4, b 5, c 6}",
        L"{x1,y2,z3,a4,b5,c6}",
        L"{ X\t1 , Y  2 ,Z 3,A 4,B 5,C 6 }",
        L"{C 6, B 5, A 4, Z 3, Y 2, X 1}",
        L"{X +1, Y 2.0, Z 3e0, A 4., B 0.5E1, C 6}",
        L"DECL FRAME F1={X 1,Y 2,Z 3,A 4,B 5,C 6}",
        L"DECL E6POS P={X 1,Y 2,Z 3,A 4,B 5,C 6,S 2,T 10,E1 0,E2 0,E3 0}",
        L"{X 1,Y 2,Z 3,A 4,B 5,C 6} ; X 9, A 9",
        L"{X 1mm,Y 2,Z 3,A 4deg,B 5,C 6}",
    };
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(traceText(text));
        EulerPose pose = untouchedEulerPose();
        EXPECT_TRUE(parseKukaText(text, pose));
        EXPECT_TRUE(posesNear(pose, {1, 2, 3, 4, 5, 6}));
    }
}

TEST(KukaText, RefusesTextWithoutBracesAndLeavesThePose) {
    const std::wstring beyondLimit = std::wstring(507, L' ') + L"{X 1}";
    const std::wstring huge = std::wstring(100000, L'{') + L"X 1}";
    const wchar_t* texts[] = {
        L"",
        L"X 1, Y 2, Z 3",
        L"{X 1, Y 2",
        L"}X 1{",
        L"X 1}",
        L"{Q 1, S 2}",
        L"{}",
        beyondLimit.c_str(), // "}" would be byte 512: cut off
        huge.c_str(),
    };
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(traceText(text));
        EulerPose pose = untouchedEulerPose();
        EXPECT_FALSE(parseKukaText(text, pose));
        EXPECT_TRUE(posesNear(pose, untouchedEulerPose()));
    }
}

TEST(KukaText, MembersWithoutANumberBecomeZero) {
    const KukaCase cases[] = {
        {L"{X=1}", false, {0, 7, 7, 7, 7, 7}},
        {L"{X -, B}", false, {0, 7, 7, 7, 0, 7}},
        // The "a" of "nan" is taken for member A.
        {L"{X 1e39, Y -1e39}", false, {0, 0, 7, 7, 7, 7}},
        {L"{X nan, Y inf}", false, {0, 0, 7, 0, 7, 7}},
    };
    for (const KukaCase& c : cases) {
        SCOPED_TRACE(traceText(c.text));
        EulerPose pose = untouchedEulerPose();
        EXPECT_EQ(parseKukaText(c.text, pose), c.read);
        EXPECT_TRUE(posesNear(pose, c.pose));
    }
}

TEST(KukaText, ExaminesOnlyTheFirst511Bytes) {
    // "{X 1}" is five characters; its "}" must stand at byte 510 at the latest.
    for (int blanks = 500; blanks <= 510; ++blanks) {
        SCOPED_TRACE(blanks);
        const std::wstring text = std::wstring(blanks, L' ') + L"{X 1}";
        EulerPose pose = untouchedEulerPose();
        EXPECT_EQ(parseKukaText(text.c_str(), pose), blanks <= 506);
        EXPECT_EQ(pose.x, blanks <= 506 ? 1.0 : 7.0);
    }
}

TEST(KukaText, WritesABareFrameWithTwoDecimals) {
    const struct {
        EulerPose pose;
        const wchar_t* text;
    } cases[] = {
        {{}, L"{X 0.00, Y 0.00, Z 0.00, A 0.00, B 0.00, C 0.00}"},
        {{-0.004, 0.005, 1000.1229858398438, -180, 90, 0.125},
         L"{X -0.00, Y 0.01, Z 1000.12, A -180.00, B 90.00, C 0.12}"},
        {{12345.678, -12345.678, 1e6, 179.999, -89.996, -0.0},
         L"{X 12345.68, Y -12345.68, Z 1000000.00, A 180.00, B -90.00, C -0.00}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.pose));
        wchar_t buffer[4096];
        ASSERT_TRUE(formatKukaText(c.pose, buffer, 4095));
        EXPECT_EQ(std::wstring(buffer), c.text);
    }
}

TEST(KukaText, WriterChecksTheCapacity) {
    const std::wstring identity = L"{X 0.00, Y 0.00, Z 0.00, A 0.00, B 0.00, C 0.00}";
    const int needed = static_cast<int>(identity.size()) + 1;
    wchar_t buffer[64];
    EXPECT_TRUE(formatKukaText({}, buffer, needed));
    EXPECT_EQ(std::wstring(buffer), identity);
    EXPECT_FALSE(formatKukaText({}, buffer, needed - 1));
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_FALSE(formatKukaText({}, buffer, 0));
    EXPECT_FALSE(formatKukaText({}, nullptr, 64));
}

} // namespace
