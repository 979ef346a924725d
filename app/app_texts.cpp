#include "app/app_texts.h"

#include <new>

#include <windows.h>

#include "app/text_scrambling.h"

namespace {

constexpr auto storedTitle = scrambleText("PoseBridge");
constexpr auto storedFontFace = scrambleText("Tahoma");
constexpr auto storedAboutHeading = scrambleText("One Frame");
constexpr auto storedAboutSubheading = scrambleText("in four notations");
constexpr auto storedAboutLinkText = scrambleText("Project home page");
constexpr auto storedAboutLinkTarget = scrambleText("https://posebridge.example.org/");

static_assert(hasNoZeroByte(storedTitle) && hasNoZeroByte(storedFontFace) &&
              hasNoZeroByte(storedAboutHeading) && hasNoZeroByte(storedAboutSubheading) &&
              hasNoZeroByte(storedAboutLinkText) && hasNoZeroByte(storedAboutLinkTarget));
static_assert(isPlainAscii("PoseBridge") && isPlainAscii("Tahoma") && isPlainAscii("One Frame") &&
              isPlainAscii("in four notations") && isPlainAscii("Project home page") &&
              isPlainAscii("https://posebridge.example.org/"));

} // namespace

void unscrambleText(const char* stored, const wchar_t*& destination) {
    char plain[maxScrambledLength + 1];
    const int length = unscrambleBytes(stored, plain);
    wchar_t* text = new (std::nothrow) wchar_t[length + 1];
    if (text == nullptr) {
        destination = L"";
        return;
    }
    // The terminator is converted with the text.
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, plain, length + 1, text, length + 1) == 0) {
        text[0] = L'\0';
    }
    destination = text;
}

void unscrambleAllTexts() {
    unscrambleText(storedTitle.bytes, interfaceTexts.title);
    unscrambleText(storedFontFace.bytes, interfaceTexts.fontFace);
    unscrambleText(storedAboutHeading.bytes, interfaceTexts.aboutHeading);
    unscrambleText(storedAboutSubheading.bytes, interfaceTexts.aboutSubheading);
    unscrambleText(storedAboutLinkText.bytes, interfaceTexts.aboutLinkText);
    unscrambleText(storedAboutLinkTarget.bytes, interfaceTexts.aboutLinkTarget);
}
