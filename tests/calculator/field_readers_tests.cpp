#include "calculator_fixture.h"

#include "math/euler_pose.h"
#include "math/quat_pose.h"

#include <cmath>

namespace {

using FieldReadersTest = CalculatorTest;

TEST_F(FieldReadersTest, ReadsNumbersAsTheFloatInputConversionDoes) {
    const struct {
        const wchar_t* text;
        bool ok;
        float value;
    } cases[] = {
        {L"12.5", true, 12.5f},
        {L"   12.5", true, 12.5f},
        {L"\t 12.5", true, 12.5f},
        {L"12.5mm", true, 12.5f},
        {L"1e3", true, 1000.0f},
        {L"-0.75", true, -0.75f},
        {L"+.5", true, 0.5f},
        {L"0.1", true, 0.1f},
        {L"1234.56", true, 1234.56f},
        {L"3.4028235e38", true, 3.4028235e38f},
        {L"0000000000000000000000000012.50", true, 12.5f}, // 31 units, the most a field holds
        {L"1,5", false, 0},
        {L"12.5,", false, 0},
        {L",", false, 0},
        {L"", false, 0},
        {L"   ", false, 0},
        {L"NaN", false, 0},
        {L"inf", false, 0},
        {L"abc", false, 0},
        {L"-", false, 0},
        {L".", false, 0},
        {L"1e39", false, 0}, // beyond single precision
        {L"-1e39", false, 0},
        // Units beyond ASCII never belong to a number, whatever their low byte.
        {L"\u00a012.5", false, 0}, // no-break space
        {L"\uff11", false, 0},     // fullwidth digit one
        {L"\u0131", false, 0},     // low byte is '1'
        {L"1\u0132", true, 1.0f},  // low byte is '2'
        {L"5\u012c", true, 5.0f},  // low byte is ','
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
        setField(20, c.text);
        float value = -1.0f;
        EXPECT_EQ(c.ok, readFieldNumbers(texts, 20, 20, &value));
        if (c.ok) {
            EXPECT_EQ(c.value, value);
            EXPECT_EQ(std::wstring(c.text), field(20)); // a good field keeps its text
        } else {
            EXPECT_EQ(L"NaN", field(20));
        }
    }
}

TEST_F(FieldReadersTest, AFieldWithoutTerminatorEndsAtItsUnits) {
    // A full field followed by digits in the next field or the text buffer.
    for (int index : {20, fieldCount - 1}) {
        SCOPED_TRACE(index);
        for (int i = 0; i < fieldCount; ++i) {
            setField(i, L"99");
        }
        setTextBuffer(texts, L"99");
        std::wmemset(texts.fields[index], L'1', fieldTextUnits);
        float value = 0.0f;
        ASSERT_TRUE(readFieldNumbers(texts, index, index, &value));
        EXPECT_EQ(11111111111111111111111111111111.0f, value); // the 32 ones alone
    }
}

TEST_F(FieldReadersTest, EveryBadFieldIsMarkedAndTheRecordKept) {
    const wchar_t* typed[6] = {L"10", L"1,5", L"20", L"", L"x", L"30"};
    for (int i = 0; i < 6; ++i) {
        setField(kukaFirstIndex + i, typed[i]);
    }
    EulerPose pose;
    pose.x = 7.0;
    EXPECT_FALSE(readKukaFields(texts, pose));
    const wchar_t* after[6] = {L"10", L"NaN", L"20", L"NaN", L"NaN", L"30"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(std::wstring(after[i]), field(kukaFirstIndex + i)) << i;
    }
    EXPECT_EQ(7.0, pose.x);
}

TEST_F(FieldReadersTest, EachNotationTakesItsFieldsInItsOrder) {
    for (int i = 0; i < fieldCount; ++i) {
        setField(i, std::to_wstring(i + 1) + L".5");
    }
    EulerPose kuka;
    ASSERT_TRUE(readKukaFields(texts, kuka));
    EXPECT_EQ(1.5, kuka.x);
    EXPECT_EQ(4.5, kuka.a);
    EXPECT_EQ(6.5, kuka.c);

    // FANUC fields stand as X, Y, Z, W, P, R; W turns about X and R about Z.
    EulerPose fanuc;
    ASSERT_TRUE(readFanucFields(texts, fanuc));
    const double expected[6] = {30.5, 31.5, 32.5, 35.5, 34.5, 33.5};
    const double actual[6] = {fanuc.x, fanuc.y, fanuc.z, fanuc.a, fanuc.b, fanuc.c};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(expected[i], actual[i]) << i;
    }

    Transform m;
    ASSERT_TRUE(readMatrixFields(texts, m));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(14.5 + i, m.e[i]) << i;
    }

    QuatPose abb;
    ASSERT_TRUE(readAbbFields(texts, abb));
    EXPECT_EQ(7.5, abb.x);
    EXPECT_EQ(9.5, abb.z);
    EXPECT_FALSE(abb.unitLength);
    const double norm = std::sqrt(10.5 * 10.5 + 11.5 * 11.5 + 12.5 * 12.5 + 13.5 * 13.5);
    EXPECT_NEAR(10.5 / norm, abb.q1, 1e-12);
    EXPECT_NEAR(13.5 / norm, abb.q4, 1e-12);
}

} // namespace
