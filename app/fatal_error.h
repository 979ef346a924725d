#pragma once

#include <cstdint>

#include "ui/main_window.h"

// Codes of the internal failures that ordinary use cannot cause.
constexpr std::uint16_t fatalRegisterClass = 0x8001;
constexpr std::uint16_t fatalCreateWindow = 0x8002;
constexpr std::uint16_t fatalCreateLabel = 0x8003;
constexpr std::uint16_t fatalCreateField = 0x8004; // a number field or the text line
constexpr std::uint16_t fatalCreateButton = 0x8005;
constexpr std::uint16_t fatalCreateControls = 0x8006;
constexpr std::uint16_t fatalKukaWriter = 0x8007;
constexpr std::uint16_t fatalAbbOrFanucWriter = 0x8008;
constexpr std::uint16_t fatalNarrowCopyText = 0x8009;
constexpr std::uint16_t fatalSelfTest = 0x8010;

// Shows "Fatal error: 0x%04X" with the code and closes the main window, which
// ends the program; then returns to the caller.
void reportFatalError(std::uint16_t code);

// Reports what the window layer could not make with its code: the class, the
// window, a label, a number field or the text line, a button. Reports
// nothing for WindowFailure::none.
void reportWindowFailure(WindowFailure failure);

// Whether reportFatalError has been called in this run.
bool fatalErrorReported();
