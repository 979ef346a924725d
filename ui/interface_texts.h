#pragma once

// The process-wide texts that the window layer shows. The window layer only
// reads them; the program fills them once at start-up, before anything is
// made, and they are kept for the whole run. Where their readable strings
// come from is not the window's business.
struct InterfaceTexts {
    const wchar_t* title = L"";    // window class, caption, message boxes, About
    const wchar_t* fontFace = L""; // interface fonts and dialog templates
    const wchar_t* aboutHeading = L"";
    const wchar_t* aboutSubheading = L"";
    const wchar_t* aboutLinkText = L"";
    const wchar_t* aboutLinkTarget = L""; // what the About link opens
};

extern InterfaceTexts interfaceTexts;
