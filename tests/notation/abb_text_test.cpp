#include "notation/abb_text.h"

#include "pose_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

QuatPose quatPose(double x, double y, double z, double q1, double q2, double q3, double q4,
                  bool unitLength = true) {
    QuatPose pose;
    pose.x = x;
    pose.y = y;
    pose.z = z;
    pose.q1 = q1;
    pose.q2 = q2;
    pose.q3 = q3;
    pose.q4 = q4;
    pose.unitLength = unitLength;
    return pose;
}

// A pose the reader could never produce, to see whether it was touched.
QuatPose untouchedQuatPose() {
    return quatPose(7, 7, 7, 7, 7, 7, 7, false);
}

struct AbbCase {
    const wchar_t* text;
    QuatPose pose;
};

TEST(AbbText, ReadsEachKindOfRapidValue) {
    const double halfRoot = std::sqrt(0.5);
    const AbbCase cases[] = {
        {L"[[0,0,0],[1,0,0,0]]", quatPose(0, 0, 0, 1, 0, 0, 0)},
        {L"CONST robtarget p10:=[[500,0,600],[0,0,1,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];",
         quatPose(500, 0, 600, 0, 0, 1, 0)},
        {L"robtarget [[1,2,3],[1,0,0,0]]", quatPose(1, 2, 3, 1, 0, 0, 0)},
        {L"CONST ROBTARGET P:=[[1,2,3],[0,1,0,0]]", quatPose(1, 2, 3, 0, 1, 0, 0)},
        {L"PERS tooldata tGrip:=[TRUE,[[0,0,100],[1,0,0,0]],[1,[0,0,1],[1,0,0,0],0,0,0]];",
         quatPose(0, 0, 100, 1, 0, 0, 0)},
        // No ":=" after "robtarget": the keyword is passed by.
        {L"PERS tooldata t:=[TRUE,[[0,0,100],[0,0,0,1]]] ! robtarget",
         quatPose(0, 0, 100, 0, 0, 0, 1)},
        // Several keywords: robtarget first, then wobjdata, then tooldata.
        {L"tooldata t:=[TRUE,[[9,9,9],[1,0,0,0]]]; robtarget p:=[[1,2,3],[1,0,0,0]]",
         quatPose(1, 2, 3, 1, 0, 0, 0)},
        {L"[[0,0,0],[2,0,0,0]]", quatPose(0, 0, 0, 1, 0, 0, 0, false)},
        {L"[[1,2,3],[0.7071068,0,0,0.7071068]]", quatPose(1, 2, 3, halfRoot, 0, 0, halfRoot)},
        // Scanning stops after the seventh number.
        {L"[[1,2,3],[1,0,0,0", quatPose(1, 2, 3, 1, 0, 0, 0)},
        {L"[[1,2,3],[1,0,0,0 junk", quatPose(1, 2, 3, 1, 0, 0, 0)},
    };
    for (const AbbCase& c : cases) {
        SCOPED_TRACE(traceText(c.text));
        QuatPose pose = untouchedQuatPose();
        EXPECT_TRUE(parseAbbText(c.text, pose));
        EXPECT_TRUE(posesNear(pose, c.pose, 1e-7));
    }
}

TEST(AbbText, StoresEachNumberInSinglePrecisionBeforeNormalising) {
    QuatPose pose;
    ASSERT_TRUE(
        parseAbbText(L"[[2317, -4719, -373],[0.72255, 0.0885268, 0.0495571, -0.683834]]", pose));
    const double q[4] = {0.72255f, 0.0885268f, 0.0495571f, -0.683834f};
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    EXPECT_TRUE(posesNear(
        pose, quatPose(2317, -4719, -373, q[0] / norm, q[1] / norm, q[2] / norm, q[3] / norm),
        1e-15));
}

TEST(AbbText, EquivalentSpellingsGiveTheSamePose) {
    const wchar_t* texts[] = {
        L"[[1,2,3],[0,0,1,0]]",
        L"[ [ 1 , 2 , 3 ] , [ 0 , 0 , 1 , 0 ] ]",
        L"[[1.0,2.0,3.0],[0.0,0.0,1.0,0.0]]",
        L"[[+1,2e0,3.],[0,-0,1E0,.0]]",
        L"[[1,\t2,\r\n3],[0,0,1,0]]",
        L"  VAR pose p := [[1,2,3],[0,0,1,0]];",
        L"CONST robtarget p:=[[1,2,3],[0,0,1,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];",
        L"PERS TOOLDATA t := [TRUE, [[1,2,3],[0,0,1,0]], [1,[0,0,1],[1,0,0,0],0,0,0]];",
        L"PERS wobjdata w:=[FALSE,TRUE,\"\",[[1,2,3],[0,0,1,0]],[[0,0,0],[1,0,0,0]]];",
        L"PERS wobjdata w := [ FALSE, TRUE, \"\", [ [ 0, 0, 0 ], [ 1, 0, 0, 0 ] ], "
        L"[ [ 1, 2, 3 ], [ 0, 0, 1, 0 ] ] ];",
    };
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(traceText(text));
        QuatPose pose = untouchedQuatPose();
        EXPECT_TRUE(parseAbbText(text, pose));
        EXPECT_TRUE(posesNear(pose, quatPose(1, 2, 3, 0, 0, 1, 0), 1e-12));
    }
}

TEST(AbbText, ComposesAWorkObjectAsUserFrameTimesObjectFrame) {
    const double halfRoot = std::sqrt(0.5);
    const AbbCase cases[] = {
        {L"PERS wobjdata wobj1:=[FALSE,TRUE,\"\",[[100,0,0],[0.7071068,0,0,0.7071068]],"
         L"[[0,50,0],[1,0,0,0]]];",
         quatPose(50, 0, 0, halfRoot, 0, 0, halfRoot)},
        {L"PERS wobjdata wobj1:=[FALSE,TRUE,\"\",[[0,50,0],[1,0,0,0]],"
         L"[[100,0,0],[0.7071068,0,0,0.7071068]]];",
         quatPose(100, 50, 0, halfRoot, 0, 0, halfRoot)},
        {L"wobjdata w := [ FALSE, TRUE, \"\", [ [ 1, 2, 3 ], [ 1, 0, 0, 0 ] ], "
         L"[ [ 0, 0, 0 ], [ 1, 0, 0, 0 ] ] ];",
         quatPose(1, 2, 3, 1, 0, 0, 0)},
    };
    for (const AbbCase& c : cases) {
        SCOPED_TRACE(traceText(c.text));
        QuatPose pose = untouchedQuatPose();
        EXPECT_TRUE(parseAbbText(c.text, pose));
        EXPECT_TRUE(posesNear(pose, c.pose, 1e-7));
    }
}

TEST(AbbText, WorkObjectWithANonUnitFrameIsNotOfUnitLength) {
    const wchar_t* texts[] = {
        L"wobjdata w:=[FALSE,TRUE,\"\",[[0,0,0],[2,0,0,0]],[[0,0,0],[1,0,0,0]]]",
        L"wobjdata w:=[FALSE,TRUE,\"\",[[0,0,0],[1,0,0,0]],[[0,0,0],[0,0,0,0.5]]]",
        L"wobjdata w:=[FALSE,TRUE,\"\",[[0,0,0],[0,0,0,0]],[[0,0,0],[1,0,0,0]]]",
    };
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(traceText(text));
        QuatPose pose;
        EXPECT_TRUE(parseAbbText(text, pose));
        EXPECT_FALSE(pose.unitLength);
    }
}

TEST(AbbText, RefusesWhatDoesNotMatchAndLeavesThePose) {
    const std::wstring beyondLimit = std::wstring(511, L' ') + L"[[1,2,3],[1,0,0,0]]";
    const std::wstring huge = std::wstring(100000, L'[');
    const wchar_t* texts[] = {
        L"",
        L"no brackets at all",
        L"[",
        L"[[",
        L"[[1,2,3],[1,0,0]]",
        L"[[1,2,3],[1,0,0,]]",
        L"[[1,2],[1,0,0,0]]",
        L"[[1;2;3],[1,0,0,0]]",
        L"[[1,2,3][1,0,0,0]]",
        L"[[1e39,0,0],[1,0,0,0]]",
        L"[[0,0,0],[nan,0,0,0]]",
        L"[[0,0,0],[inf,0,0,0]]",
        L"[[1,2,3],[1,0,0,x]]",
        // A blank after ":=" does not match the pattern's first "[".
        L"CONST robtarget p10 := [[500,0,600],[0,0,1,0]]",
        L"wobjdata [[1,2,3],[1,0,0,0]]",
        L"wobjdata w:=[[1,2,3],[1,0,0,0]]",
        L"wobjdata w:=[FALSE,TRUE,\"\",[[1,2,3],[1,0,0,0]]]",
        L"tooldata [[1,2,3],[1,0,0,0]]",
        L"tooldata t:=[[1,2,3],[1,0,0,0]]",
        L"tooldata t:=[TRUE,[[1,2,3],[1,0,0]]]",
        beyondLimit.c_str(),
        huge.c_str(),
    };
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(traceText(text));
        QuatPose pose = untouchedQuatPose();
        EXPECT_FALSE(parseAbbText(text, pose));
        EXPECT_TRUE(posesNear(pose, untouchedQuatPose()));
    }
}

TEST(AbbText, ExaminesOnlyTheFirst511Bytes) {
    // The seventh number of "[[1,2,3],[1,0,0,0]]" is its 17th character; it
    // must stand at byte 510 at the latest.
    for (int blanks = 490; blanks <= 496; ++blanks) {
        SCOPED_TRACE(blanks);
        const std::wstring text = std::wstring(blanks, L' ') + L"[[1,2,3],[1,0,0,0]]";
        QuatPose pose = untouchedQuatPose();
        EXPECT_EQ(parseAbbText(text.c_str(), pose), blanks <= 494);
    }
}

TEST(AbbText, WritesABarePoseWithTwoAndSevenDecimals) {
    const struct {
        QuatPose pose;
        const wchar_t* text;
    } cases[] = {
        {QuatPose{}, L"[[0.00, 0.00, 0.00], [1.0000000, 0.0000000, 0.0000000, 0.0000000]]"},
        {quatPose(-0.004, 2317, -4719.125, std::sqrt(0.5), 0, -0.0, -std::sqrt(0.5)),
         L"[[-0.00, 2317.00, -4719.12], [0.7071068, 0.0000000, -0.0000000, -0.7071068]]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.pose));
        wchar_t buffer[4096];
        ASSERT_TRUE(formatAbbText(c.pose, buffer, 4095));
        EXPECT_EQ(std::wstring(buffer), c.text);
    }
}

TEST(AbbText, WriterChecksTheCapacity) {
    const std::wstring identity =
        L"[[0.00, 0.00, 0.00], [1.0000000, 0.0000000, 0.0000000, 0.0000000]]";
    const int needed = static_cast<int>(identity.size()) + 1;
    wchar_t buffer[128];
    EXPECT_TRUE(formatAbbText(QuatPose{}, buffer, needed));
    EXPECT_EQ(std::wstring(buffer), identity);
    EXPECT_FALSE(formatAbbText(QuatPose{}, buffer, needed - 1));
    EXPECT_EQ(buffer[0], L'\0');
}

} // namespace
