#include "calculator_fixture.h"

#include "math/euler_pose.h"
#include "math/number_text.h"

#include <limits>

namespace {

using FieldFormatsTest = CalculatorTest;

// Every field that shows the X translation: KUKA X, ABB x, matrix (0,3), FANUC X.
constexpr int xFields[] = {0, 6, 16, 29};

void setTranslationX(double x) {
    Transform m = identityTransform();
    at(m, 0, 3) = x;
    setCurrentTransform(m);
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t unit : text) {
        out += static_cast<char>(unit);
    }
    return out;
}

TEST_F(FieldFormatsTest, StartValuesReadAsTheStartDisplay) {
    setField(3, L"typed");
    setTextBuffer(texts, L"an old message");
    formatState(texts);
    const wchar_t* expected[fieldCount] = {
        L"0.00",      L"0.00",      L"0.00",      L"0.00",      L"0.00",      L"0.00",      // KUKA
        L"0.00",      L"0.00",      L"0.00",      L"1.0000000", L"0.0000000", L"0.0000000", // ABB
        L"0.0000000",                                                                       // q4
        L"1.0000000", L"0.0000000", L"0.0000000", L"0.00",                             // matrix
        L"0.0000000", L"1.0000000", L"0.0000000", L"0.00",                             //
        L"0.0000000", L"0.0000000", L"1.0000000", L"0.00",                             //
        L"0",         L"0",         L"0",         L"1",                                //
        L"0.00",      L"0.00",      L"0.00",      L"0.00",      L"0.00",      L"0.00", // FANUC
    };
    for (int i = 0; i < fieldCount; ++i) {
        SCOPED_TRACE(i + firstFieldId);
        EXPECT_EQ(std::wstring(expected[i]), field(i));
    }
    EXPECT_EQ(L"", textBuffer());
}

TEST_F(FieldFormatsTest, PoseShowsInEveryNotation) {
    EulerPose pose;
    pose.x = 1234.5;
    pose.y = -0.004; // rounds to a negative zero, shown with its sign
    pose.z = 0.125;
    pose.a = 90.0;
    setCurrentFromEulerPose(pose);
    formatState(texts);
    const struct {
        int id;
        const wchar_t* text;
    } cases[] = {
        {701, L"1234.50"},   {702, L"-0.00"},     {703, L"0.12"},       {704, L"90.00"},
        {705, L"0.00"},      {707, L"1234.50"},   {708, L"-0.00"},      {710, L"0.7071068"},
        {713, L"0.7071068"}, {714, L"0.0000000"}, {715, L"-1.0000000"}, {717, L"1234.50"},
        {718, L"1.0000000"}, {721, L"-0.00"},     {729, L"1"},          {730, L"1234.50"},
        {731, L"-0.00"},     {735, L"90.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(std::wstring(c.text), field(c.id - firstFieldId));
    }
}

TEST_F(FieldFormatsTest, WideValuesTakeTheShortestExponentFormThatReadsBack) {
    const struct {
        double value;
        const wchar_t* text; // nullptr: only the read-back is promised
    } cases[] = {
        {9e26, nullptr}, // 30 characters in fixed point: still fits
        {1e27, L"1e27"},
        {-1e26, L"-1e26"},
        {1.5e30, L"1.5e30"},
        {-2.5e30, L"-2.5e30"},
        {3.4028234663852886e38, nullptr}, // the largest float
        {1.2345678e35, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        setTranslationX(c.value);
        formatState(texts);
        for (int index : xFields) {
            SCOPED_TRACE(index + firstFieldId);
            const std::string shown = narrow(field(index));
            ASSERT_LE(shown.size(), 30u);
            float back = 0.0f;
            ASSERT_TRUE(readSingle(shown.c_str(), back)) << shown;
            EXPECT_EQ(static_cast<float>(c.value), back) << shown;
            if (c.text != nullptr) {
                EXPECT_EQ(std::wstring(c.text), field(index));
            } else if (c.value < 1e27) {
                EXPECT_EQ(std::string::npos, shown.find('e')) << shown;
            }
        }
    }
}

TEST_F(FieldFormatsTest, ValuesNoFloatCanHoldStillGiveABoundedText) {
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char* text; // nullptr: only a bounded text is promised
    } cases[] = {
        {1e39, nullptr},
        {-3.5e300, nullptr},
        {infinity, "inf"},
        {-infinity, "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        setTranslationX(c.value);
        formatState(texts);
        for (int index : xFields) {
            const std::string shown = narrow(field(index));
            EXPECT_FALSE(shown.empty());
            EXPECT_LE(shown.size(), 30u);
            if (c.text != nullptr) {
                EXPECT_EQ(c.text, shown);
            }
            float back = 0.0f;
            EXPECT_FALSE(readSingle(shown.c_str(), back)) << shown; // never a plausible number
        }
    }
}

TEST_F(FieldFormatsTest, TextBufferTakesMessagesWithinItsCapacity) {
    setTextBuffer(texts, L"Invalid input data");
    EXPECT_EQ(L"Invalid input data", textBuffer());
    const std::wstring longText(5000, L'x');
    setTextBuffer(texts, longText.c_str());
    EXPECT_EQ(std::wstring(4094, L'x'), textBuffer());
    setTextBuffer(texts, nullptr);
    EXPECT_EQ(L"", textBuffer());
}

} // namespace
