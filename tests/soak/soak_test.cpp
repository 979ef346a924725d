// A long, seeded run of random user actions on the real window: typing
// random and hostile texts into the fields and the text line, every button,
// Reset, Help and About, and the clipboard filled with robot text, mangled,
// empty, very long, binary-looking and non-ASCII text, a picture or nothing.
// After every action the program must be alive, its state rigid and derived
// from its matrix, every field must show the state or what the user typed,
// the shown KUKA, FANUC and ABB values must agree with the shown matrix, the
// shown matrix must import again, and the GDI objects the program made must
// stay within a fixed bound.
//
// POSEBRIDGE_SOAK_SEED and POSEBRIDGE_SOAK_ACTIONS choose the run; a failure
// prints the seed, the action and the actions before it.

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "app/fatal_error.h"
#include "box_painting.h"
#include "calculator/field_texts.h"
#include "clipboard_helpers.h"
#include "gdi_count.h"
#include "main_window_fixture.h"
#include "math/euler_pose.h"
#include "math/matrix_validation.h"
#include "math/number_text.h"
#include "math/quat_pose.h"
#include "notation/abb_text.h"
#include "notation/fanuc_text.h"
#include "notation/kuka_text.h"
#include "soak_actions.h"
#include "state_snapshot.h"

namespace {

constexpr std::uint64_t defaultSeed = 20261208;
constexpr int defaultActions = 2000;

// The program's fonts: four for the window, the bold one of a held slot and
// the About box's five. All are made once and kept.
constexpr std::size_t gdiBound = 10;

// What a command reads of a field and of the text line, and so writes back.
constexpr std::size_t fieldKept = fieldTextUnits - 2;
constexpr std::size_t lineKept = textBufferUnits - 2;
// What the harness reads back of a control.
constexpr std::size_t lineShown = textBufferUnits - 1;

constexpr int lineIndex = fieldCount; // the text line after the 35 fields

// Rotation elements of the shown KUKA/FANUC angles and ABB quaternion
// against the shown matrix: the angles carry two decimals (about 1e-4 in an
// element), and the matrix may be off orthogonal by the validation's
// tolerance.
constexpr double rotationTolerance = 2e-3;

std::uint64_t environmentNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    std::uint64_t value = fallback;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

// What a field is expected to show.
enum class Shows {
    state,   // the state, as formatState writes it (the text line: nothing)
    typed,   // what the user typed there, as far as commands keep it
    unknown, // a refused import may have marked it "NaN"
};

struct FieldModel {
    Shows shows = Shows::state;
    std::wstring text;
};

struct Notation {
    const char* name;
    int button;
    int first; // field index
    int count;
};

constexpr Notation kuka = {"KUKA", 801, 0, 6};
constexpr Notation abb = {"ABB", 802, 6, 7};
constexpr Notation matrix = {"matrix", 803, 13, 16};
constexpr Notation fanuc = {"FANUC", 811, 29, 6};

const wchar_t* const importMessages[] = {
    L"Invalid input data", L"Unit length quaternion expected", L"Rotation matrix not orthogonal",
    L"Invalid transformation matrix", L"Transformation not right handed"};

bool isOneOf(const std::wstring& text, std::initializer_list<const wchar_t*> allowed) {
    for (const wchar_t* message : allowed) {
        if (text == message) {
            return true;
        }
    }
    return false;
}

std::string narrowed(const std::wstring& text) {
    std::string out;
    for (wchar_t unit : text) {
        out += static_cast<char>(unit);
    }
    return out;
}

bool sameBits(const void* p, const void* q, std::size_t size) {
    return std::memcmp(p, q, size) == 0;
}

bool sameEuler(const EulerPose& p, const EulerPose& q) {
    return sameBits(&p, &q, sizeof p);
}

bool sameQuat(const QuatPose& p, const QuatPose& q) {
    return sameBits(&p.x, &q.x, sizeof p.x) && sameBits(&p.y, &q.y, sizeof p.y) &&
           sameBits(&p.z, &q.z, sizeof p.z) && sameBits(&p.q1, &q.q1, sizeof p.q1) &&
           sameBits(&p.q2, &q.q2, sizeof p.q2) && sameBits(&p.q3, &q.q3, sizeof p.q3) &&
           sameBits(&p.q4, &q.q4, sizeof p.q4) && p.unitLength == q.unitLength;
}

bool sameTransform(const Transform& p, const Transform& q) {
    return sameBits(p.e, q.e, sizeof p.e);
}

bool withinSingleRange(double value) {
    return std::isfinite(value) && std::fabs(value) <= static_cast<double>(FLT_MAX);
}

class Soak {
  public:
    Soak(HWND window, BoxCapture& capture, std::uint64_t seed)
        : window_(window), capture_(capture), seed_(seed), random_{seed} {
        captions_ = visibleTexts(window);
    }

    // Runs the actions; stops at the first that fails a check.
    void run(int actions) {
        for (action_ = 1; action_ <= actions; ++action_) {
            step();
            check();
            if (::testing::Test::HasFailure()) {
                report();
                return;
            }
        }
    }

    void summary(std::ostream& out) const {
        out << "soak seed " << seed_ << ": " << action_ - 1 << " actions, highest live GDI "
            << "objects " << highestLiveGdiObjects() << " (bound " << gdiBound << ")\n";
        for (const auto& [name, count] : counts_) {
            out << "  " << count << " x " << name << "\n";
        }
    }

  private:
    // --- actions ---------------------------------------------------------

    void step() {
        capture_.boxes.clear();
        const int roll = random_.below(100);
        if (roll < 28) {
            typeField();
        } else if (roll < 33) {
            typeKeys();
        } else if (roll < 37) {
            typeLine();
        } else if (roll < 49) {
            fillNotation();
        } else if (roll < 77) {
            press(801 + random_.below(12));
        } else if (roll < 80) {
            reset();
        } else if (roll < 82) {
            openDialog(random_.chance(50) ? 1007 : 1008, L"Help");
        } else if (roll < 84) {
            openDialog(1002, L"About");
        } else {
            setClipboard();
        }
    }

    void note(const std::string& what) {
        describe(what);
        ++counts_[what.substr(0, what.find(':'))];
    }

    void describe(const std::string& what) {
        if (trace_) {
            std::cerr << "#" << action_ << " " << what << std::endl;
        }
        std::string line = "#";
        line += std::to_string(action_);
        line += ' ';
        line += what;
        recent_.push_back(line);
        if (recent_.size() > 12) {
            recent_.pop_front();
        }
    }

    void typed(int index, const std::wstring& text) { model_[index] = {Shows::typed, text}; }

    void typeField() {
        const int index = random_.below(fieldCount);
        const std::wstring text = randomFieldText(random_);
        note("type: field " + std::to_string(firstFieldId + index) + " \"" + printable(text) +
             "\"");
        setItemText(window_, firstFieldId + index, text);
        // What the control took is what the user typed.
        typed(index, itemText(window_, firstFieldId + index));
    }

    // Key by key, as the keyboard delivers characters, over a selection of
    // the whole field.
    void typeKeys() {
        const int index = random_.below(fieldCount);
        const std::wstring text = randomFieldText(random_);
        note("keys: field " + std::to_string(firstFieldId + index) + " \"" + printable(text) +
             "\"");
        HWND field = GetDlgItem(window_, firstFieldId + index);
        SendMessageW(field, EM_SETSEL, 0, -1);
        // Control characters are editing commands (paste, cut, undo), not text.
        for (wchar_t unit : text) {
            if (unit >= L' ') {
                SendMessageW(field, WM_CHAR, unit, 1);
            }
        }
        typed(index, itemText(window_, firstFieldId + index));
    }

    void typeLine() {
        const std::wstring text = randomLineText(random_);
        note("line: \"" + printable(text) + "\"");
        setItemText(window_, textLine, text);
        typed(lineIndex, itemText(window_, textLine));
    }

    // A whole notation with numbers that mostly import, then its button.
    void fillNotation() {
        const Notation* notations[] = {&kuka, &abb, &matrix, &fanuc};
        const Notation& notation = *notations[random_.below(4)];
        std::vector<std::wstring> texts;
        if (&notation == &matrix) {
            const EulerPose pose{0,
                                 0,
                                 0,
                                 random_.below(36000) / 100.0 - 180.0,
                                 random_.below(18000) / 100.0 - 90.0,
                                 random_.below(36000) / 100.0 - 180.0};
            const Transform rotation = transformFromEulerPose(pose);
            for (int k = 0; k < 16; ++k) {
                const int row = k / 4;
                const int column = k % 4;
                if (row == 3) {
                    texts.push_back(column == 3 ? L"1" : L"0");
                } else if (column == 3) {
                    texts.push_back(plausibleNumber(random_, 3000.0));
                } else {
                    texts.push_back(formatted(at(rotation, row, column), 7));
                }
            }
        } else if (&notation == &abb) {
            for (int k = 0; k < 3; ++k) {
                texts.push_back(plausibleNumber(random_, 3000.0));
            }
            double q[4];
            double norm = 0.0;
            do {
                norm = 0.0;
                for (double& component : q) {
                    component = random_.below(2001) / 1000.0 - 1.0;
                    norm += component * component;
                }
            } while (norm < 0.01);
            for (double component : q) {
                texts.push_back(formatted(component / std::sqrt(norm), 7));
            }
        } else {
            for (int k = 0; k < 6; ++k) {
                texts.push_back(plausibleNumber(random_, k < 3 ? 3000.0 : 180.0));
            }
        }
        if (random_.chance(15)) {
            spoil(notation, texts);
        }
        if (random_.chance(20)) {
            texts[static_cast<std::size_t>(random_.below(notation.count))] =
                randomFieldText(random_);
        }
        std::string shown;
        for (int k = 0; k < notation.count; ++k) {
            setItemText(window_, firstFieldId + notation.first + k, texts[k]);
            typed(notation.first + k, texts[k]);
            if (k > 0) {
                shown += ' ';
            }
            shown += printable(texts[k]);
        }
        note(std::string("fill: ") + notation.name + " " + shown);
        press(notation.button);
    }

    // Numbers that read well but must be refused: a reflection or a wrong
    // bottom row in the matrix, a quaternion of twice unit length.
    void spoil(const Notation& notation, std::vector<std::wstring>& texts) {
        if (&notation == &matrix) {
            if (random_.chance(50)) {
                const int column = random_.below(3);
                for (int row = 0; row < 3; ++row) {
                    std::wstring& element = texts[static_cast<std::size_t>(4 * row + column)];
                    element = element[0] == L'-' ? element.substr(1) : L"-" + element;
                }
            } else {
                texts[static_cast<std::size_t>(12 + random_.below(3))] = L"1";
            }
        } else if (&notation == &abb) {
            for (int k = 3; k < 7; ++k) {
                double component = 0.0;
                parseNumber(texts[static_cast<std::size_t>(k)], component);
                texts[static_cast<std::size_t>(k)] = formatted(2.0 * component, 7);
            }
        }
    }

    static std::wstring formatted(double value, int decimals) {
        char text[64];
        const int length = formatFixed(value, FixedFormat{decimals, 1, false}, text, sizeof text);
        return length < 0 ? L"?" : std::wstring(text, text + length);
    }

    void reset() {
        note("menu: Reset");
        sendCommand(window_, 1003);
        expectNoBox();
        showState();
        slotHeld_[0] = slotHeld_[1] = false;
        slotValue_[0] = slotValue_[1] = identityTransform();
        EXPECT_TRUE(sameTransform(calculator.current, identityTransform()));
    }

    // The dialog is drawn a few times before it is closed, so that its
    // fonts and colour answers are counted while it is open.
    void openDialog(int command, const wchar_t* caption) {
        note("menu: " + narrowed(caption));
        answerAfterPainting(capture_);
        sendCommand(window_, command);
        capture_.answer = BoxAnswer::pressOk;
        capture_.whileOpen = nullptr;
        ASSERT_EQ(capture_.boxes.size(), 1u) << "one dialog expected";
        EXPECT_EQ(capture_.boxes[0].caption, caption);
        EXPECT_LE(lastPaintedBox().liveAfterPainting, gdiBound);
    }

    void setClipboard() {
        clipboard_ = randomClipboardContent(random_);
        clipboardFromPoseBridge_ = false;
        note(std::string("clipboard: ") + clipboardKindName(clipboard_.kind) + " \"" +
             printable(clipboard_.text) + "\"");
        ASSERT_TRUE(putClipboardContent(clipboard_)) << "the clipboard could not be had";
    }

    // Every command reads all texts and writes them back, cut to what it read.
    void cutTypedTexts() {
        for (int index = 0; index <= lineIndex; ++index) {
            FieldModel& field = model_[index];
            const std::size_t kept = index == lineIndex ? lineKept : fieldKept;
            if (field.shows == Shows::typed && field.text.size() > kept) {
                field.text.resize(kept);
            }
        }
    }

    void showState() {
        for (FieldModel& field : model_) {
            field = {};
        }
    }

    void expectNoBox() {
        for (const BoxRecord& box : capture_.boxes) {
            ADD_FAILURE() << "unexpected box \"" << printable(box.text) << "\" captioned \""
                          << printable(box.caption) << "\"";
        }
    }

    // The one warning box of a refused command; its text, or nothing.
    std::wstring refusal(std::initializer_list<const wchar_t*> allowed) {
        if (capture_.boxes.size() != 1) {
            ADD_FAILURE() << capture_.boxes.size() << " boxes where one was expected";
            return L"";
        }
        const BoxRecord& box = capture_.boxes[0];
        EXPECT_TRUE(isOneOf(box.text, allowed)) << "message \"" << printable(box.text) << "\"";
        EXPECT_EQ(box.icon, BoxIcon::warning) << "message \"" << printable(box.text) << "\"";
        EXPECT_EQ(box.owner, window_);
        return box.text;
    }

    bool matrixShowsState() const {
        for (int k = 0; k < matrix.count; ++k) {
            if (model_[matrix.first + k].shows != Shows::state) {
                return false;
            }
        }
        return true;
    }

    bool translationWithinSingleRange() const {
        return withinSingleRange(calculator.current.e[3]) &&
               withinSingleRange(calculator.current.e[7]) &&
               withinSingleRange(calculator.current.e[11]);
    }

    void press(int id) {
        const CalculatorState before = calculator;
        const bool matrixWasShown = matrixShowsState() && translationWithinSingleRange();
        note("press: " + std::to_string(id));
        sendCommand(window_, id);
        cutTypedTexts();
        std::string outcome = "press: " + std::to_string(id);
        outcome += capture_.boxes.empty() ? " without a box"
                                          : " -> \"" + printable(capture_.boxes[0].text) + "\"";
        ++counts_[outcome];

        switch (id) {
        case 801:
        case 802:
        case 811:
        case 803: {
            const Notation& notation =
                id == 801 ? kuka : (id == 802 ? abb : (id == 811 ? fanuc : matrix));
            if (capture_.boxes.empty()) {
                showState();
                break;
            }
            EXPECT_FALSE(id == 803 && matrixWasShown) << "the shown matrix did not import again";
            const std::wstring message =
                refusal({importMessages[0], importMessages[1], importMessages[2], importMessages[3],
                         importMessages[4]});
            EXPECT_TRUE(sameState(before, calculator)) << "a refused import changed the state";
            for (int k = 0; k < notation.count; ++k) {
                model_[notation.first + k].shows = Shows::unknown;
            }
            typed(lineIndex, id == 803 ? L"" : message);
            break;
        }
        case 804:
            importClipboard(before);
            break;
        case 805:
        case 806: {
            expectNoBox();
            const int slot = id - 805;
            slotHeld_[slot] = !slotHeld_[slot];
            slotValue_[slot] = slotHeld_[slot] ? before.current : identityTransform();
            EXPECT_TRUE(sameTransform(before.current, calculator.current));
            break;
        }
        case 807:
            expectNoBox();
            showState();
            break;
        case 808:
            if (capture_.boxes.empty()) {
                showState();
            } else {
                refusal({L"Calculation error"});
                EXPECT_TRUE(sameState(before, calculator));
            }
            break;
        default: // 809, 810, 812: the copies
            copied(id);
            break;
        }
    }

    void importClipboard(const CalculatorState& before) {
        const bool noText =
            clipboard_.kind == ClipboardKind::picture || clipboard_.kind == ClipboardKind::nothing;
        if (noText) {
            refusal({L"Unrecognized data format"});
            EXPECT_TRUE(sameState(before, calculator));
            return;
        }
        if (capture_.boxes.empty()) {
            showState();
            return;
        }
        const bool mustImport = clipboard_.kind == ClipboardKind::robotText &&
                                (!clipboardFromPoseBridge_ || clipboardWithinSingleRange_);
        EXPECT_FALSE(mustImport) << "robot text on the clipboard did not import";
        const std::wstring message =
            refusal({L"Parsing failed", L"Unit length quaternion expected"});
        EXPECT_TRUE(sameState(before, calculator));
        typed(lineIndex, message);
    }

    // A copy puts exactly the text line's text on the clipboard, and that
    // text reads back to the state within its printed decimals.
    void copied(int id) {
        expectNoBox();
        const std::wstring line = itemText(window_, textLine);
        typed(lineIndex, line);
        std::string onClipboard;
        SIZE_T blockSize = 0;
        ASSERT_TRUE(readClipboardText(onClipboard, blockSize));
        EXPECT_EQ(onClipboard, narrowed(line));
        clipboard_ = {ClipboardKind::robotText, onClipboard};
        clipboardFromPoseBridge_ = true;
        clipboardWithinSingleRange_ = translationWithinSingleRange();
        if (!clipboardWithinSingleRange_) {
            return;
        }
        const Transform& m = calculator.current;
        const double position =
            0.005 + 1e-6 * std::fabs(m.e[3]) + 1e-6 * std::fabs(m.e[7]) + 1e-6 * std::fabs(m.e[11]);
        Transform read;
        if (id == 810) {
            QuatPose pose;
            ASSERT_TRUE(parseAbbText(line.c_str(), pose)) << printable(line);
            read = transformFromQuatPose(pose);
        } else {
            EulerPose pose;
            ASSERT_TRUE(id == 809 ? parseKukaText(line.c_str(), pose)
                                  : parseFanucText(line.c_str(), pose))
                << printable(line);
            read = transformFromEulerPose(pose);
        }
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 4; ++column) {
                EXPECT_NEAR(at(read, row, column), at(m, row, column),
                            column == 3 ? position : rotationTolerance)
                    << "copied text " << printable(line) << " at " << row << "," << column;
            }
        }
    }

    // --- checks ----------------------------------------------------------

    void check() {
        ASSERT_TRUE(IsWindow(window_)) << "the window is gone";
        ASSERT_FALSE(fatalErrorReported()) << "a fatal error was reported";
        ASSERT_TRUE(threadDialogs(GetCurrentThreadId()).empty()) << "a box stayed open";
        if (action_ % 10 == 0) {
            repaint(window_);
        }
        EXPECT_LE(liveGdiObjects(), gdiBound);
        checkState();
        FieldTexts shown;
        initFieldTexts(shown);
        formatState(shown);
        checkShownForms(shown);
        checkWindow(shown);
    }

    // Rigid, with both pose forms derived from the matrix; the slots as
    // saved or cleared.
    void checkState() {
        const Transform& m = calculator.current;
        EXPECT_TRUE(isRigidTransform(m)) << "the current transformation is not rigid";
        EXPECT_TRUE(sameEuler(calculator.currentEuler, eulerPoseFromTransform(m)));
        EXPECT_TRUE(sameQuat(calculator.currentQuat, quatPoseFromTransform(m)));
        EXPECT_TRUE(sameTransform(calculator.slotA, slotValue_[0])) << "slot A";
        EXPECT_TRUE(sameTransform(calculator.slotB, slotValue_[1])) << "slot B";
    }

    // The shown forms of the state agree with each other: positions by
    // their texts, angles and quaternion with the shown matrix; and the
    // shown matrix imports again (unless a value lies beyond single
    // precision, where no text reads back).
    void checkShownForms(FieldTexts& shown) {
        auto text = [&](int index) { return std::wstring(shown.fields[index]); };
        auto number = [&](int index) {
            double value = NAN;
            parseNumber(text(index), value);
            return value;
        };
        for (int k = 0; k < 3; ++k) {
            const std::wstring position = text(matrix.first + 4 * k + 3);
            EXPECT_EQ(text(kuka.first + k), position);
            EXPECT_EQ(text(abb.first + k), position);
            EXPECT_EQ(text(fanuc.first + k), position);
        }
        // FANUC W, P, R are KUKA C, B, A.
        EXPECT_EQ(text(fanuc.first + 3), text(kuka.first + 5));
        EXPECT_EQ(text(fanuc.first + 4), text(kuka.first + 4));
        EXPECT_EQ(text(fanuc.first + 5), text(kuka.first + 3));

        Transform shownMatrix = identityTransform();
        for (int k = 0; k < 16; ++k) {
            shownMatrix.e[k] = number(matrix.first + k);
        }
        const Transform fromAngles = transformFromEulerPose(EulerPose{
            0, 0, 0, number(kuka.first + 3), number(kuka.first + 4), number(kuka.first + 5)});
        QuatPose quaternion;
        quaternion.q1 = number(abb.first + 3);
        quaternion.q2 = number(abb.first + 4);
        quaternion.q3 = number(abb.first + 5);
        quaternion.q4 = number(abb.first + 6);
        const Transform fromQuaternion = transformFromQuatPose(quaternion);
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                const double element = at(shownMatrix, row, column);
                EXPECT_NEAR(at(fromAngles, row, column), element, rotationTolerance)
                    << "KUKA angles against the matrix at " << row << "," << column;
                EXPECT_NEAR(at(fromQuaternion, row, column), element, rotationTolerance)
                    << "ABB quaternion against the matrix at " << row << "," << column;
            }
        }

        if (!translationWithinSingleRange()) {
            return;
        }
        Transform again;
        EXPECT_TRUE(readMatrixFields(shown, again)) << "the shown matrix does not read";
        EXPECT_TRUE(isRigidTransform(again)) << "the shown matrix is not rigid";
    }

    // Every field shows the state or what the user typed; the slot buttons
    // say whether their slot is held; the other captions never change.
    void checkWindow(const FieldTexts& shown) {
        const std::vector<std::wstring> texts = visibleTexts(window_);
        for (int index = 0; index <= lineIndex; ++index) {
            const FieldModel& field = model_[index];
            if (field.shows == Shows::unknown) {
                continue;
            }
            std::wstring expected =
                field.shows == Shows::typed
                    ? field.text
                    : std::wstring(index == lineIndex ? shown.text : shown.fields[index]);
            if (expected.size() > lineShown) {
                expected.resize(lineShown);
            }
            EXPECT_EQ(printable(texts[static_cast<std::size_t>(index)]), printable(expected))
                << "field " << firstFieldId + index;
        }
        for (std::size_t k = lineIndex + 1; k < texts.size(); ++k) {
            const int id = 801 + static_cast<int>(k) - lineIndex - 1;
            if (id == 805 || id == 806) {
                const bool held = slotHeld_[id - 805];
                const std::wstring letter = id == 805 ? L"A" : L"B";
                EXPECT_EQ(texts[k], (held ? L"Clear " : L"Save ") + letter);
                EXPECT_EQ(itemFontWeight(window_, id), held ? 700 : 400) << id;
            } else {
                EXPECT_EQ(texts[k], captions_[k]) << id;
            }
        }
    }

    void report() const {
        std::ostringstream out;
        out << "soak failed at action " << action_ << " of seed " << seed_ << "; repeat with "
            << "POSEBRIDGE_SOAK_SEED=" << seed_ << " POSEBRIDGE_SOAK_ACTIONS=" << action_
            << "\nlast actions:\n";
        for (const std::string& line : recent_) {
            out << "  " << line << "\n";
        }
        ADD_FAILURE() << out.str();
    }

    HWND window_;
    BoxCapture& capture_;
    std::uint64_t seed_;
    SoakRandom random_;
    int action_ = 0;
    FieldModel model_[fieldCount + 1];
    bool slotHeld_[2] = {false, false};
    Transform slotValue_[2] = {identityTransform(), identityTransform()};
    ClipboardContent clipboard_{ClipboardKind::nothing, {}};
    bool clipboardFromPoseBridge_ = false;
    bool clipboardWithinSingleRange_ = true;
    std::vector<std::wstring> captions_;
    std::deque<std::string> recent_;
    std::map<std::string, int> counts_;
    // POSEBRIDGE_SOAK_TRACE=1 prints every action as it starts, so that a
    // crash names its action.
    bool trace_ = environmentNumber("POSEBRIDGE_SOAK_TRACE", 0) != 0;
};

class SoakTest : public MainWindowTest {};

TEST_F(SoakTest, RandomUserActionsKeepTheProgramSound) {
    const std::uint64_t seed = environmentNumber("POSEBRIDGE_SOAK_SEED", defaultSeed);
    const auto actions =
        static_cast<int>(environmentNumber("POSEBRIDGE_SOAK_ACTIONS", defaultActions));
    // Start from a known clipboard, so that the first import is predictable.
    ASSERT_TRUE(putClipboardContent({ClipboardKind::nothing, {}}));
    Soak soak(window, capture, seed);
    soak.run(actions);
    soak.summary(std::cout);
}

} // namespace
