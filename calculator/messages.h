#pragma once

// Messages shown to the user; each text stands here once.
inline constexpr const wchar_t* invalidInputMessage = L"Invalid input data";
inline constexpr const wchar_t* unitQuaternionMessage = L"Unit length quaternion expected";
inline constexpr const wchar_t* parsingFailedMessage = L"Parsing failed";
inline constexpr const wchar_t* calculationErrorMessage = L"Calculation error";
inline constexpr const wchar_t* unrecognizedFormatMessage = L"Unrecognized data format";
inline constexpr const wchar_t* clipboardAccessMessage = L"Could not access clipboard";
inline constexpr const wchar_t* clipboardCopyMessage = L"Unable to copy data to clipboard";
