#include "calculator/recognition.h"

#include "calculator/calculator_state.h"
#include "calculator/field_texts.h"
#include "calculator/messages.h"
#include "math/euler_pose.h"
#include "math/quat_pose.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

struct Expected {
    double x, y, z;
    // The rotation as a KUKA a, b, c triple; compared as a matrix.
    double a, b, c;
};

std::string narrow(const wchar_t* text) {
    std::string out;
    for (; *text != L'\0'; ++text) {
        out += (*text < 128) ? static_cast<char>(*text) : '?';
    }
    return out;
}

void loadText(FieldTexts& texts, const wchar_t* text) {
    initFieldTexts(texts);
    std::wcsncpy(texts.text, text, textBufferUnits - 1);
    texts.text[textBufferUnits - 1] = L'\0';
}

// A state unlike anything the cases below produce, in all five records.
void setDistinctState() {
    resetCalculator();
    setCurrentFromEulerPose(EulerPose{-7, 8, -9, 11, 12, 13});
    setSlotA(false);
    setCurrentFromEulerPose(EulerPose{1, 2, 3, 40, 50, 60});
    setSlotB(false);
    setCurrentFromEulerPose(EulerPose{4, 5, 6, 70, -20, 10});
}

bool sameState(const CalculatorState& p, const CalculatorState& q) {
    return std::memcmp(&p.current, &q.current, sizeof p.current) == 0 &&
           std::memcmp(&p.currentEuler, &q.currentEuler, sizeof p.currentEuler) == 0 &&
           p.currentQuat.x == q.currentQuat.x && p.currentQuat.y == q.currentQuat.y &&
           p.currentQuat.z == q.currentQuat.z && p.currentQuat.q1 == q.currentQuat.q1 &&
           p.currentQuat.q2 == q.currentQuat.q2 && p.currentQuat.q3 == q.currentQuat.q3 &&
           p.currentQuat.q4 == q.currentQuat.q4 &&
           p.currentQuat.unitLength == q.currentQuat.unitLength &&
           std::memcmp(&p.slotA, &q.slotA, sizeof p.slotA) == 0 &&
           std::memcmp(&p.slotB, &q.slotB, sizeof p.slotB) == 0;
}

::testing::AssertionResult currentIs(const Expected& e) {
    const Transform want = transformFromEulerPose(EulerPose{e.x, e.y, e.z, e.a, e.b, e.c});
    const Transform& got = calculator.current;
    for (int k = 0; k < 16; ++k) {
        const double tolerance = (k % 4 == 3 && k < 12) ? 1e-3 : 1e-6;
        if (!(std::fabs(got.e[k] - want.e[k]) <= tolerance)) {
            ::testing::AssertionResult failure = ::testing::AssertionFailure();
            failure << "element " << k << " differs\n got:";
            for (double v : got.e) {
                failure << ' ' << v;
            }
            failure << "\nwant:";
            for (double v : want.e) {
                failure << ' ' << v;
            }
            return failure;
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(Recognition, RecognisedTextBecomesTheCurrentTransformation) {
    struct Case {
        const wchar_t* text;
        Expected pose;
    };
    const Case cases[] = {
        // ABB
        {L"[[10,20,30],[1,0,0,0]]", {10, 20, 30, 0, 0, 0}},
        {L"CONST robtarget p10:=[[500,0,600],[0,0,1,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];",
         {500, 0, 600, 180, 0, 180}},
        {L"PERS tooldata tGrip:=[TRUE,[[0,0,100],[1,0,0,0]],[1,[0,0,1],[1,0,0,0],0,0,0]];",
         {0, 0, 100, 0, 0, 0}},
        // user frame 90 degrees about Z at (100, 0, 0), times object frame at (0, 50, 0)
        {L"TASK PERS wobjdata wobj1:=[FALSE,TRUE,\"\",[[100,0,0],[0.7071068,0,0,0.7071068]],"
         L"[[0,50,0],[1,0,0,0]]];",
         {50, 0, 0, 90, 0, 0}},
        // ABB comes first even when the text also holds a KUKA aggregate
        {L"{X 5} [[1,2,3],[1,0,0,0]]", {1, 2, 3, 0, 0, 0}},
        // KUKA
        {L"{X 10, Y 20, Z 30, A 0, B 0, C 0}", {10, 20, 30, 0, 0, 0}},
        {L"DECL E6POS XP1={X 100.5,Y -20,Z 300,A 0,B 90,C -180,S 6,T 27,E1 0,E2 0}",
         {100.5, -20, 300, 0, 90, -180}},
        {L"{Z 3, X 1}", {1, 0, 3, 0, 0, 0}},
        // KUKA comes before FANUC, which would read x = 9 here
        {L"X = 9 {X 7}", {7, 0, 0, 0, 0, 0}},
        // FANUC
        {L"X = 10 mm", {10, 0, 0, 0, 0, 0}},
        {L"P[1]{ GP1: UF : 0, UT : 1, X = 100.000 mm, Y = 0.000 mm, Z = 50.000 mm, W = 0.000 "
         L"deg, P = 0.000 deg, R = 90.000 deg };",
         {100, 0, 50, 90, 0, 0}},
        // a listing in braces: its letters are followed by "=", so KUKA passes it on
        {L"{ X = 1, Y = 2, Z = 3, W = 30, P = 0, R = 0 }", {1, 2, 3, 0, 0, 30}},
        {L"UF : 1, UT : 1,  X = 2351.720  mm,  Y = -1306.704  mm,  Z =  961.953  mm,   W = "
         L"-104.182 deg,  P =   33.787 deg,  R =  -60.391 deg,",
         {2351.72, -1306.704, 961.953, -60.391, 33.787, -104.182}},
        {L"  X =  -21.300  mm,  Y =   24.200  mm,  Z =  486.700  mm,\n  W =    0.000 deg,  P = "
         L"   0.000 deg,  R =  180.000 deg\n",
         {-21.3, 24.2, 486.7, 180, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.text));
        setDistinctState();
        const CalculatorState before = calculator;
        FieldTexts texts;
        loadText(texts, c.text);
        ASSERT_TRUE(recognizeRobotText(texts));
        EXPECT_TRUE(currentIs(c.pose));
        EXPECT_STREQ(texts.text, c.text);
        // The pose forms come back from the new matrix; the slots stay.
        EXPECT_EQ(std::memcmp(&calculator.slotA, &before.slotA, sizeof before.slotA), 0);
        EXPECT_EQ(std::memcmp(&calculator.slotB, &before.slotB, sizeof before.slotB), 0);
        const EulerPose derived = eulerPoseFromTransform(calculator.current);
        EXPECT_EQ(std::memcmp(&calculator.currentEuler, &derived, sizeof derived), 0);
    }
}

TEST(Recognition, RefusedTextLeavesItsMessageAndTheStateAlone) {
    struct Case {
        const wchar_t* text;
        const wchar_t* message;
    };
    std::wstring farBrace(600, L' ');
    farBrace += L"{X 1, Y 2} X = 3";
    std::wstring longGarbage(textBufferUnits - 1, L'#');
    const Case cases[] = {
        {L"[[0,0,0],[2,0,0,0]]", unitQuaternionMessage},
        // refused as ABB, so the readable KUKA and FANUC values are never tried
        {L"{X 5} X = 6 [[0,0,0],[0.5,0,0,0]]", unitQuaternionMessage},
        {L"[[1,2,3],[0,0,0,0]]", unitQuaternionMessage},
        {L"CONST robtarget p1:=[[1,2,3],[1.001,0,0,0],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];",
         unitQuaternionMessage},
        {L"PERS tooldata t1:=[TRUE,[[0,0,100],[0.9,0,0,0]],[1,[0,0,1],[1,0,0,0],0,0,0]];",
         unitQuaternionMessage},
        // a work object's frames are checked before they are composed
        {L"PERS wobjdata w1:=[FALSE,TRUE,\"\",[[0,0,0],[2,0,0,0]],[[0,0,0],[1,0,0,0]]];",
         unitQuaternionMessage},
        {L"PERS wobjdata w1:=[FALSE,TRUE,\"\",[[0,0,0],[1,0,0,0]],[[10,0,0],[0.7,0,0,0.7]]];",
         unitQuaternionMessage},
        {L"PERS wobjdata w1:=[FALSE,TRUE,\"\",[[0,0,0],[0,0,0,0]],[[0,0,0],[1,0,0,0]]];",
         unitQuaternionMessage},
        {L"CONST robtarget p1 := [[1,2,3],[1,0,0,0]];", parsingFailedMessage},
        {L"", parsingFailedMessage},
        {L"   \t\r\n", parsingFailedMessage},
        {L"x = 1, y = 2", parsingFailedMessage},
        {L"{X=1}", parsingFailedMessage},
        {L"[[1,2,3],[1,0,0]]", parsingFailedMessage},
        {L"{A, B, C}", parsingFailedMessage},
        {L"X 1, Y 2, Z 3", parsingFailedMessage},
        {farBrace.c_str(), parsingFailedMessage},
        {longGarbage.c_str(), parsingFailedMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.text).substr(0, 80));
        setDistinctState();
        const CalculatorState before = calculator;
        FieldTexts texts;
        loadText(texts, c.text);
        EXPECT_FALSE(recognizeRobotText(texts));
        EXPECT_STREQ(texts.text, c.message);
        EXPECT_TRUE(sameState(before, calculator));
    }
}

// A failed KUKA attempt may zero the fields whose letter it found; FANUC
// must still start from an all-zero record, not from leftovers.
TEST(Recognition, FanucStartsFromZeroAfterAFailedKukaAttempt) {
    setDistinctState();
    FieldTexts texts;
    loadText(texts, L"{ A:, B:, C: } X = 5");
    ASSERT_TRUE(recognizeRobotText(texts));
    EXPECT_TRUE(currentIs(Expected{5, 0, 0, 0, 0, 0}));
}

TEST(Recognition, NonAsciiTextIsReadAroundOrRefused) {
    setDistinctState();
    FieldTexts texts;
    loadText(texts, L"{X 12\u00e9, Y \u4e2d 3, Z 4}");
    ASSERT_TRUE(recognizeRobotText(texts));
    EXPECT_TRUE(currentIs(Expected{12, 0, 4, 0, 0, 0}));

    setDistinctState();
    const CalculatorState before = calculator;
    loadText(texts, L"\u00c4\u00d6\u00dc \u2014 \xd800\xdc00");
    EXPECT_FALSE(recognizeRobotText(texts));
    EXPECT_TRUE(sameState(before, calculator));
}
