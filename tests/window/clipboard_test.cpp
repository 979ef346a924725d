#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "clipboard_helpers.h"
#include "main_window_fixture.h"

namespace {

using Clipboard = MainWindowTest;

std::wstring widened(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

void importSamplePose(HWND window) {
    setItemTexts(window, {{701, L"100.5"},
                          {702, L"-20.25"},
                          {703, L"300"},
                          {704, L"30"},
                          {705, L"-45"},
                          {706, L"60"}});
    sendCommand(window, buttonImportKuka);
}

struct CopyCase {
    int button;
    const char* text;
};

// The sample pose (KUKA X 100.5, Y -20.25, Z 300, A 30, B -45, C 60) as each
// notation writes it.
const CopyCase copyCases[] = {
    {buttonCopyKuka, "{X 100.50, Y -20.25, Z 300.00, A 30.00, B -45.00, C 60.00}"},
    {buttonCopyAbb, "[[100.50, -20.25, 300.00], [0.7233174, 0.5319757, -0.2005621, 0.3919038]]"},
    {buttonCopyFanuc, "  X =  100.500  mm,  Y =  -20.250  mm,  Z =  300.000  mm,\n"
                      "  W =   60.000 deg,  P =  -45.000 deg,  R =   30.000 deg\n"},
};

TEST_F(Clipboard, EachCopyPutsItsNotationOnTheClipboardAndInTheTextLine) {
    importSamplePose(window);
    for (const CopyCase& c : copyCases) {
        SCOPED_TRACE(c.button);
        ASSERT_TRUE(putClipboardText("something else"));
        setItemText(window, 702, L"typed");

        EXPECT_EQ(sendCommand(window, c.button), 0);

        std::string copied;
        SIZE_T blockSize = 0;
        ASSERT_TRUE(readClipboardText(copied, blockSize));
        EXPECT_EQ(copied, c.text);
        EXPECT_EQ(blockSize, 4095u);
        EXPECT_EQ(itemText(window, textLine), widened(c.text));
        // A copy does not refresh the fields.
        EXPECT_EQ(itemText(window, 702), L"typed");
        setItemText(window, 702, L"-20.25");
    }
    EXPECT_TRUE(capture.boxes.empty());
}

TEST_F(Clipboard, CopiedTextImportsBackToTheSamePose) {
    importSamplePose(window);
    const std::vector<std::wstring> shown = visibleTexts(window);
    for (const CopyCase& c : copyCases) {
        SCOPED_TRACE(c.button);
        sendCommand(window, c.button);
        sendCommand(window, commandReset);
        sendCommand(window, buttonImportClipboard);
        for (int id = 701; id <= 735; ++id) {
            SCOPED_TRACE(id);
            double before = 0.0;
            double after = 0.0;
            ASSERT_TRUE(parseNumber(shown[id - 701], before));
            ASSERT_TRUE(parseNumber(itemText(window, id), after));
            EXPECT_NEAR(after, before, 0.011);
        }
        EXPECT_EQ(itemText(window, textLine), L"");
    }
    EXPECT_TRUE(capture.boxes.empty());
}

// Clipboard texts of every notation and what the fields then show.
struct ImportCase {
    const char* name;
    const char* text;
    std::vector<ItemText> shown;
};

const ImportCase importCases[] = {
    {"KUKA E6POS",
     "DECL E6POS XP1={X 100.5,Y -20,Z 300,A 10,B 20,C -30,S 6,T 27,E1 0,E2 0}",
     {{701, L"100.50"},
      {702, L"-20.00"},
      {703, L"300.00"},
      {704, L"10.00"},
      {705, L"20.00"},
      {706, L"-30.00"},
      {735, L"10.00"},
      {733, L"-30.00"}}},
    {"ABB plain pose",
     "[[10,20,30],[1,0,0,0]]",
     {{707, L"10.00"},
      {708, L"20.00"},
      {709, L"30.00"},
      {710, L"1.0000000"},
      {717, L"10.00"},
      {721, L"20.00"},
      {725, L"30.00"},
      {701, L"10.00"}}},
    {"ABB robtarget",
     "CONST robtarget p10:=[[500,0,600],[0.7071068,0,0,0.7071068],[0,0,0,0],"
     "[9E9,9E9,9E9,9E9,9E9,9E9]];",
     {{707, L"500.00"},
      {709, L"600.00"},
      {710, L"0.7071068"},
      {713, L"0.7071068"},
      {704, L"90.00"}}},
    {"ABB tooldata",
     "PERS tooldata tGrip:=[TRUE,[[0,0,100],[1,0,0,0]],[1,[0,0,1],[1,0,0,0],0,0,0]];",
     {{707, L"0.00"}, {709, L"100.00"}, {710, L"1.0000000"}, {703, L"100.00"}}},
    {"ABB wobjdata, user frame times object frame",
     "PERS wobjdata wobj1:=[FALSE,TRUE,\"\",[[100,0,0],[0.7071068,0,0,0.7071068]],"
     "[[0,50,0],[1,0,0,0]]];",
     {{707, L"50.00"},
      {708, L"0.00"},
      {709, L"0.00"},
      {710, L"0.7071068"},
      {713, L"0.7071068"},
      {704, L"90.00"}}},
    {"FANUC with user and tool frame",
     "UF : 1, UT : 1,  X = 2351.720  mm,  Y = -1306.704  mm,  Z =  961.953  mm,"
     "   W = -104.182 deg,  P =   33.787 deg,  R =  -60.391 deg,",
     {{730, L"2351.72"},
      {731, L"-1306.70"},
      {732, L"961.95"},
      {733, L"-104.18"},
      {734, L"33.79"},
      {735, L"-60.39"},
      {704, L"-60.39"},
      {706, L"-104.18"}}},
};

TEST_F(Clipboard, ImportReadsEveryNotationAndClearsTheTextLine) {
    for (const ImportCase& c : importCases) {
        SCOPED_TRACE(c.name);
        sendCommand(window, commandReset);
        ASSERT_TRUE(putClipboardText(c.text));

        EXPECT_EQ(sendCommand(window, buttonImportClipboard), 0);

        for (const ItemText& item : c.shown) {
            SCOPED_TRACE(item.id);
            EXPECT_EQ(itemText(window, item.id), item.text);
        }
        EXPECT_EQ(itemText(window, textLine), L"");
    }
    EXPECT_TRUE(capture.boxes.empty());
}

// Clipboard content that is refused: the box, and the text line afterwards.
enum class Content { text, picture, nothing };

struct RefusalCase {
    const char* name;
    Content content;
    const char* text;
    const wchar_t* message;
    const wchar_t* textLineAfter;
};

const RefusalCase refusalCases[] = {
    {"text of no notation", Content::text, "hello, robot", L"Parsing failed", L"Parsing failed"},
    {"robtarget with a blank after :=", Content::text, "CONST robtarget p1 := [[1,2,3],[1,0,0,0]];",
     L"Parsing failed", L"Parsing failed"},
    {"empty text", Content::text, "", L"Parsing failed", L"Parsing failed"},
    {"ABB quaternion of length 2", Content::text, "[[0,0,0],[2,0,0,0]]",
     L"Unit length quaternion expected", L"Unit length quaternion expected"},
    {"only a picture", Content::picture, "", L"Unrecognized data format", L"a note"},
    {"nothing at all", Content::nothing, "", L"Unrecognized data format", L"a note"},
};

TEST_F(Clipboard, RefusedContentShowsItsMessageAndChangesNothing) {
    for (const RefusalCase& c : refusalCases) {
        SCOPED_TRACE(c.name);
        sendCommand(window, commandReset);
        setItemTexts(window, {{701, L"42"}});
        sendCommand(window, buttonImportKuka);
        setItemTexts(window, {{702, L"typed"}, {textLine, L"a note"}});
        switch (c.content) {
        case Content::text:
            ASSERT_TRUE(putClipboardText(c.text));
            break;
        case Content::picture:
            ASSERT_TRUE(putClipboardPicture());
            ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
            break;
        case Content::nothing:
            ASSERT_TRUE(clearClipboard());
            break;
        }
        const bool textOffered = c.content == Content::text;
        ASSERT_EQ(IsClipboardFormatAvailable(CF_TEXT) != 0, textOffered);
        std::vector<std::wstring> before = visibleTexts(window);
        std::wstring textLineWhileOpen;
        capture.boxes.clear();
        capture.whileOpen = [&](const BoxRecord&) {
            textLineWhileOpen = itemText(window, textLine);
        };

        EXPECT_EQ(sendCommand(window, buttonImportClipboard), 0);

        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_TRUE(isMessageBox(capture.boxes[0], window, c.message, BoxIcon::warning));
        // The clipboard text is shown at once; the message replaces it.
        EXPECT_EQ(textLineWhileOpen, textOffered ? widened(c.text) : L"a note");
        before[textLine - 701] = c.textLineAfter;
        EXPECT_EQ(visibleTexts(window), before);
        // The state is unchanged.
        sendCommand(window, buttonInvert);
        EXPECT_EQ(itemText(window, 701), L"-42.00");
        capture.whileOpen = nullptr;
    }
}

// Holds the clipboard open from a thread of its own, as another program
// does for a moment, until the holder goes out of scope.
class ClipboardHeld {
  public:
    ClipboardHeld()
        : opened_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), holder_([this] {
              held_ = openClipboardRetrying(nullptr);
              SetEvent(opened_);
              WaitForSingleObject(release_, 10000);
              if (held_) {
                  CloseClipboard();
              }
          }) {
        WaitForSingleObject(opened_, 5000);
    }
    ~ClipboardHeld() {
        SetEvent(release_);
        holder_.join();
        CloseHandle(opened_);
        CloseHandle(release_);
    }
    ClipboardHeld(const ClipboardHeld&) = delete;
    ClipboardHeld& operator=(const ClipboardHeld&) = delete;

    bool held() const { return held_; }

  private:
    HANDLE opened_;
    HANDLE release_;
    bool held_ = false;
    std::thread holder_;
};

TEST_F(Clipboard, AClipboardHeldElsewhereIsAnErrorForImportAndCopy) {
    for (int button : {buttonImportClipboard, buttonCopyKuka, buttonCopyAbb, buttonCopyFanuc}) {
        SCOPED_TRACE(button);
        ASSERT_TRUE(putClipboardText("[[1,2,3],[1,0,0,0]]"));
        setItemText(window, textLine, L"a note");
        const std::vector<std::wstring> before = visibleTexts(window);
        capture.boxes.clear();
        {
            ClipboardHeld held;
            ASSERT_TRUE(held.held());
            sendCommand(window, button);
        }
        ASSERT_EQ(capture.boxes.size(), 1u);
        EXPECT_TRUE(
            isMessageBox(capture.boxes[0], window, L"Could not access clipboard", BoxIcon::error));
        EXPECT_EQ(visibleTexts(window), before);
        std::string clipboard;
        SIZE_T blockSize = 0;
        ASSERT_TRUE(readClipboardText(clipboard, blockSize));
        EXPECT_EQ(clipboard, "[[1,2,3],[1,0,0,0]]");
    }
}

TEST_F(Clipboard, LongTextIsCutToTheTextLineAndStillRead) {
    const std::string tail(10000, 'a');
    const struct {
        const char* name;
        std::string text;
        const wchar_t* message; // null: imported
        const wchar_t* kukaX;
    } cases[] = {
        {"a pose in front of a long tail", "{X 1, Y 2}" + tail, nullptr, L"1.00"},
        {"nothing but a long tail", tail, L"Parsing failed", L"0.00"},
        {"bytes beyond ASCII around a pose", "\xE9\xFC{X 5}\xB0", nullptr, L"5.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sendCommand(window, commandReset);
        ASSERT_TRUE(putClipboardText(c.text));
        std::size_t shownLength = 0;
        capture.boxes.clear();
        capture.whileOpen = [&](const BoxRecord&) {
            shownLength = itemText(window, textLine).size();
        };
        sendCommand(window, buttonImportClipboard);
        if (c.message == nullptr) {
            EXPECT_TRUE(capture.boxes.empty());
            EXPECT_EQ(itemText(window, textLine), L"");
        } else {
            ASSERT_EQ(capture.boxes.size(), 1u);
            EXPECT_TRUE(isMessageBox(capture.boxes[0], window, c.message, BoxIcon::warning));
            // The text line showed the first 4094 characters while the box was open.
            EXPECT_EQ(shownLength, 4094u);
        }
        EXPECT_EQ(itemText(window, 701), c.kukaX);
        capture.whileOpen = nullptr;
    }
}

} // namespace
