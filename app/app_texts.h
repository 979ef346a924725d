#pragma once

// The six process-wide texts. The program stores them scrambled;
// unscrambleAllTexts makes the readable strings once at start-up, before
// anything uses them, and they are kept for the whole run.
struct AppTexts {
    const wchar_t* title = L"";    // window class, caption, message boxes, About
    const wchar_t* fontFace = L""; // interface fonts and dialog templates
    const wchar_t* aboutHeading = L"";
    const wchar_t* aboutSubheading = L"";
    const wchar_t* aboutLinkText = L"";
    const wchar_t* aboutLinkTarget = L""; // what the About link opens
};

extern AppTexts appTexts;

// Unscrambles a stored text (at most its first 128 bytes) and converts it from
// the ANSI code page into a new UTF-16 string, which is never freed.
void unscrambleText(const char* stored, const wchar_t*& destination);
void unscrambleAllTexts();
