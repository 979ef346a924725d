#include "calculator_fixture.h"

#include "calculator/imports.h"
#include "math/euler_pose.h"

#include <utility>
#include <vector>

namespace {

using ImportsTest = CalculatorTest;
using Edits = std::vector<std::pair<int, std::wstring>>; // field id, typed text

Edits matrixFields(const std::vector<std::wstring>& sixteen) {
    Edits edits;
    for (int i = 0; i < 16; ++i) {
        edits.emplace_back(714 + i, sixteen[i]);
    }
    return edits;
}

TEST_F(ImportsTest, EulerImportsShowTheAnglesTheMatrixGivesBack) {
    formatState(texts);
    setId(704, L"270"); // KUKA A
    ASSERT_TRUE(importKuka(texts));
    formatState(texts);
    EXPECT_EQ(L"-90.00", fieldId(704)); // KUKA A
    EXPECT_EQ(L"-90.00", fieldId(735)); // FANUC R

    setId(733, L"10"); // FANUC W
    setId(734, L"20"); // FANUC P
    setId(735, L"30"); // FANUC R
    ASSERT_TRUE(importFanuc(texts));
    formatState(texts);
    EXPECT_EQ(L"30.00", fieldId(704));
    EXPECT_EQ(L"20.00", fieldId(705));
    EXPECT_EQ(L"10.00", fieldId(706));

    setId(710, L"0.7071068"); // 90 degrees about Z
    setId(711, L"0");
    setId(712, L"0");
    setId(713, L"0.7071068");
    ASSERT_TRUE(importAbb(texts));
    formatState(texts);
    EXPECT_EQ(L"90.00", fieldId(704));
    EXPECT_EQ(L"0.00", fieldId(705));
}

TEST_F(ImportsTest, RefusedImportsNameTheFaultAndChangeNothing) {
    const std::wstring o = L"0", l = L"1";
    const struct {
        const char* name;
        bool (*import)(FieldTexts&);
        Edits edits;
        const wchar_t* message;
    } cases[] = {
        {"KUKA comma", importKuka, {{702, L"1,5"}, {706, L"x"}}, L"Invalid input data"},
        {"FANUC empty", importFanuc, {{733, L""}}, L"Invalid input data"},
        {"ABB overflow", importAbb, {{707, L"1e39"}}, L"Invalid input data"},
        {"ABB norm 2",
         importAbb,
         {{710, L"2"}, {711, o}, {712, o}, {713, o}},
         L"Unit length quaternion expected"},
        {"ABB zero",
         importAbb,
         {{710, o}, {711, o}, {712, o}, {713, o}},
         L"Unit length quaternion expected"},
        {"ABB norm 1.00001",
         importAbb,
         {{710, L"1.00001"}, {711, o}, {712, o}, {713, o}},
         L"Unit length quaternion expected"},
        {"matrix NaN", importMatrix, {{720, L"NaN"}}, L"Invalid input data"},
        {"scaled", importMatrix, matrixFields({L"2", o, o, o, o, l, o, o, o, o, l, o, o, o, o, l}),
         L"Rotation matrix not orthogonal"},
        {"scaled, bad bottom row", importMatrix,
         matrixFields({L"2", o, o, o, o, l, o, o, o, o, l, o, o, o, L"0.5", l}),
         L"Rotation matrix not orthogonal"},
        {"M(3,3) = 2", importMatrix,
         matrixFields({l, o, o, o, o, l, o, o, o, o, l, o, o, o, o, L"2"}),
         L"Rotation matrix not orthogonal"},
        {"reflection", importMatrix,
         matrixFields({l, o, o, o, o, l, o, o, o, o, L"-1", o, o, o, o, l}),
         L"Transformation not right handed"},
        {"bottom row 1 0 0 1", importMatrix,
         matrixFields({l, o, o, o, o, l, o, o, o, o, l, o, l, o, o, l}),
         L"Invalid transformation matrix"},
        {"typed 0.001 is above the tolerance", importMatrix,
         matrixFields({l, o, o, o, o, l, o, o, o, o, l, o, o, o, L"0.001", l}),
         L"Invalid transformation matrix"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setBusyState();
        formatState(texts);
        for (const auto& [id, text] : c.edits) {
            setId(id, text);
        }
        const CalculatorState before = calculator;
        EXPECT_FALSE(c.import(texts));
        EXPECT_EQ(std::wstring(c.message), textBuffer());
        EXPECT_TRUE(sameState(before, calculator));
    }
}

TEST_F(ImportsTest, AnAdoptedMatrixHasAnExactBottomRow) {
    // Both bottom rows pass the validation; neither may bend the inverse.
    for (int id : {726, 729}) {
        SCOPED_TRACE(id);
        resetCalculator();
        formatState(texts);
        setId(717, L"1500");
        setId(id, id == 726 ? L"0.00001" : L"-1");
        ASSERT_TRUE(importMatrix(texts));
        const double bottomRow[4] = {0.0, 0.0, 0.0, 1.0};
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(bottomRow[c], at(calculator.current, 3, c)) << c;
        }
        invertCurrent();
        EXPECT_NEAR(-1500.0, calculator.currentEuler.x, 1e-9);
    }
}

TEST_F(ImportsTest, ADisplayedMatrixImportsAgain) {
    const double poses[][6] = {
        {100.5, -20.25, 300, 10, 20, 30},
        {0, 0, 0, 180, 0, 0},
        {0, 0, 0, 0, 180, 0},
        {0, 0, 0, 0, 0, 180},
        {-5, 5, 1e4, 10, 90, 30},
        {1, 2, 3, 10, -90, 30},
        {0, 0, 0, -123.4, 45.6, 78.9},
        {0, 0, 0, 0, 89.9999, 0},
    };
    for (const auto& p : poses) {
        SCOPED_TRACE(::testing::PrintToString(p));
        EulerPose pose;
        pose.x = p[0];
        pose.y = p[1];
        pose.z = p[2];
        pose.a = p[3];
        pose.b = p[4];
        pose.c = p[5];
        setCurrentFromEulerPose(pose);
        const Transform shown = calculator.current;
        formatState(texts);
        ASSERT_TRUE(importMatrix(texts)) << ::testing::PrintToString(textBuffer());
        EXPECT_EQ(L"", textBuffer());
        for (int i = 0; i < 16; ++i) {
            const double tolerance = i % 4 == 3 ? 0.005 : 1e-6; // the display's decimals
            EXPECT_NEAR(shown.e[i], calculator.current.e[i], tolerance) << i;
        }
    }
}

} // namespace
