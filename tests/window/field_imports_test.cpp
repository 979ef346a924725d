#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "clipboard_helpers.h"
#include "main_window_fixture.h"

namespace {

using FieldImports = MainWindowTest;

// KUKA X 100.5, Y -20.25, Z 300, A 30, B -45, C 60 in every notation: the
// rotation Rz(30) * Ry(-45) * Rx(60), worked out independently.
const std::vector<ItemText> samplePoseTexts = {
    {701, L"100.50"},    {702, L"-20.25"},    {703, L"300.00"},     {704, L"30.00"},
    {705, L"-45.00"},    {706, L"60.00"},     {707, L"100.50"},     {708, L"-20.25"},
    {709, L"300.00"},    {710, L"0.7233174"}, {711, L"0.5319757"},  {712, L"-0.2005621"},
    {713, L"0.3919038"}, {714, L"0.6123724"}, {715, L"-0.7803301"}, {716, L"0.1268265"},
    {717, L"100.50"},    {718, L"0.3535534"}, {719, L"0.1268265"},  {720, L"-0.9267767"},
    {721, L"-20.25"},    {722, L"0.7071068"}, {723, L"0.6123724"},  {724, L"0.3535534"},
    {725, L"300.00"},    {726, L"0"},         {727, L"0"},          {728, L"0"},
    {729, L"1"},         {730, L"100.50"},    {731, L"-20.25"},     {732, L"300.00"},
    {733, L"60.00"},     {734, L"-45.00"},    {735, L"30.00"},
};

void expectTexts(HWND window, const std::vector<ItemText>& expected) {
    for (const ItemText& item : expected) {
        SCOPED_TRACE(item.id);
        EXPECT_EQ(itemText(window, item.id), item.text);
    }
}

// Each notation's fields typed with the sample pose, then imported.
struct ImportCase {
    const char* name;
    int button;
    std::vector<ItemText> typed;
};

const ImportCase importCases[] = {
    {"KUKA",
     buttonImportKuka,
     {{701, L"100.5"}, {702, L"-20.25"}, {703, L"300"}, {704, L"30"}, {705, L"-45"}, {706, L"60"}}},
    {"FANUC (W, P, R = C, B, A)",
     buttonImportFanuc,
     {{730, L"100.5"}, {731, L"-20.25"}, {732, L"300"}, {733, L"60"}, {734, L"-45"}, {735, L"30"}}},
    {"ABB",
     buttonImportAbb,
     {{707, L"100.5"},
      {708, L"-20.25"},
      {709, L"300"},
      {710, L"0.7233174"},
      {711, L"0.5319757"},
      {712, L"-0.2005621"},
      {713, L"0.3919038"}}},
    {"matrix",
     buttonImportMatrix,
     {{714, L"0.6123724"},
      {715, L"-0.7803301"},
      {716, L"0.1268265"},
      {717, L"100.5"},
      {718, L"0.3535534"},
      {719, L"0.1268265"},
      {720, L"-0.9267767"},
      {721, L"-20.25"},
      {722, L"0.7071068"},
      {723, L"0.6123724"},
      {724, L"0.3535534"},
      {725, L"300"},
      {726, L"0"},
      {727, L"0"},
      {728, L"0"},
      {729, L"1"}}},
};

TEST_F(FieldImports, EachNotationShowsThePoseInAllFourAndClearsTheTextLine) {
    for (const ImportCase& c : importCases) {
        SCOPED_TRACE(c.name);
        sendCommand(window, commandReset);
        setItemText(window, textLine, L"left over");
        setItemTexts(window, c.typed);
        EXPECT_EQ(sendCommand(window, c.button), 0);
        if (c.button == buttonImportKuka || c.button == buttonImportFanuc) {
            expectTexts(window, samplePoseTexts);
        } else {
            // Seven typed decimals carry the rotation to about 1e-7: compare
            // the shown numbers, not their last digit.
            for (const ItemText& item : samplePoseTexts) {
                SCOPED_TRACE(item.id);
                double shown = 0.0;
                double expected = 0.0;
                ASSERT_TRUE(parseNumber(itemText(window, item.id), shown));
                ASSERT_TRUE(parseNumber(item.text, expected));
                EXPECT_NEAR(shown, expected, 0.011);
            }
        }
        EXPECT_EQ(itemText(window, textLine), L"");
    }
    EXPECT_TRUE(capture.boxes.empty());
}

TEST_F(FieldImports, KukaAngleOutsideTheRangeIsShownAsDerivedFromTheMatrix) {
    setItemTexts(window, {{704, L"270"}});
    sendCommand(window, buttonImportKuka);
    EXPECT_EQ(itemText(window, 704), L"-90.00");
    EXPECT_EQ(itemText(window, 735), L"-90.00");
}

TEST_F(FieldImports, NumbersAreReadLikeTheCConversion) {
    setItemTexts(window, {{701, L"  12.5"}, {702, L"12.5mm"}, {703, L"1e3"}});
    sendCommand(window, buttonImportKuka);
    EXPECT_EQ(itemText(window, 701), L"12.50");
    EXPECT_EQ(itemText(window, 702), L"12.50");
    EXPECT_EQ(itemText(window, 703), L"1000.00");
    EXPECT_TRUE(capture.boxes.empty());
}

// A refused import: the box (warning), what the bad fields then read, and
// what the text line shows afterwards.
struct RefusalCase {
    const char* name;
    int button;
    std::vector<ItemText> typed;
    const wchar_t* message;
    std::vector<int> markedNaN;
    const wchar_t* textLineAfter;
};

const RefusalCase refusalCases[] = {
    {"KUKA: comma, word and empty field",
     buttonImportKuka,
     {{701, L"1,5"}, {702, L"7"}, {703, L"abc"}, {704, L""}, {705, L"8"}, {706, L"9"}},
     L"Invalid input data",
     {701, 703, 704},
     L"Invalid input data"},
    {"FANUC: a valid number with a comma behind it, and NaN",
     buttonImportFanuc,
     {{730, L"1"}, {731, L"2"}, {732, L"3.5,"}, {733, L"NaN"}, {734, L"5"}, {735, L"6"}},
     L"Invalid input data",
     {732, 733},
     L"Invalid input data"},
    {"ABB: a word",
     buttonImportAbb,
     {{707, L"x"}, {708, L"0"}, {709, L"0"}, {710, L"1"}, {711, L"0"}, {712, L"0"}, {713, L"0"}},
     L"Invalid input data",
     {707},
     L"Invalid input data"},
    {"ABB: quaternion of length 2",
     buttonImportAbb,
     {{707, L"1"}, {708, L"2"}, {709, L"3"}, {710, L"2"}, {711, L"0"}, {712, L"0"}, {713, L"0"}},
     L"Unit length quaternion expected",
     {},
     L"Unit length quaternion expected"},
    {"matrix: a word and a comma",
     buttonImportMatrix,
     {{715, L"zero"}, {729, L"1,0"}},
     L"Invalid input data",
     {715, 729},
     L""},
    {"matrix: rotation not orthogonal",
     buttonImportMatrix,
     {{714, L"2"}},
     L"Rotation matrix not orthogonal",
     {},
     L""},
    {"matrix: reflection",
     buttonImportMatrix,
     {{714, L"-1"}},
     L"Transformation not right handed",
     {},
     L""},
    {"matrix: bottom row 1 0 0 1",
     buttonImportMatrix,
     {{726, L"1"}},
     L"Invalid transformation matrix",
     {},
     L""},
};

TEST_F(FieldImports, RefusedInputShowsItsMessageMarksBadFieldsAndChangesNothing) {
    for (const RefusalCase& c : refusalCases) {
        SCOPED_TRACE(c.name);
        sendCommand(window, commandReset);
        setItemText(window, textLine, L"before");
        setItemTexts(window, c.typed);
        std::vector<std::wstring> shownWhileOpen;
        capture.boxes.clear();
        capture.whileOpen = [&](const BoxRecord&) { shownWhileOpen = visibleTexts(window); };

        EXPECT_EQ(sendCommand(window, c.button), 0);

        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_TRUE(isMessageBox(capture.boxes[0], window, c.message, BoxIcon::warning));
        for (const ItemText& typed : c.typed) {
            SCOPED_TRACE(typed.id);
            bool marked = false;
            for (int id : c.markedNaN) {
                marked = marked || id == typed.id;
            }
            EXPECT_EQ(itemText(window, typed.id), marked ? L"NaN" : typed.text);
        }
        EXPECT_EQ(itemText(window, textLine), c.textLineAfter);
        // The pose imports show the marks and the message while the box is
        // open; the matrix import shows its box first.
        ASSERT_EQ(shownWhileOpen.size(), 48u);
        const bool marksFirst = c.button != buttonImportMatrix;
        EXPECT_EQ(shownWhileOpen[textLine - 701], marksFirst ? c.message : L"before");
        for (int id : c.markedNaN) {
            EXPECT_EQ(shownWhileOpen[id - 701] == L"NaN", marksFirst) << id;
        }
        // The state is untouched: it is still the identity.
        sendCommand(window, buttonCopyKuka);
        std::string copied;
        SIZE_T blockSize = 0;
        ASSERT_TRUE(readClipboardText(copied, blockSize));
        EXPECT_EQ(copied, "{X 0.00, Y 0.00, Z 0.00, A 0.00, B 0.00, C 0.00}");
        capture.whileOpen = nullptr;
    }
}

} // namespace
