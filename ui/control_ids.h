#pragma once

#include "resources/resource_ids.h"

// Identifiers of the main window's buttons and of the menu commands. The
// number fields (701-735) and the text line (736) are in calculator/field_texts.h.

constexpr int labelId = -1;

constexpr int importKukaButton = 801;
constexpr int importAbbButton = 802;
constexpr int importMatrixButton = 803;
constexpr int importClipboardButton = 804;
constexpr int slotAButton = 805;
constexpr int slotBButton = 806;
constexpr int invertButton = 807;
constexpr int multiplyButton = 808;
constexpr int copyKukaButton = 809;
constexpr int copyAbbButton = 810;
constexpr int importFanucButton = 811;
constexpr int copyFanucButton = 812;

constexpr int exitCommand = 1001;
constexpr int aboutCommand = 1002;
constexpr int resetCommandId = 1003;
constexpr int helpMenuCommand = 1007;
constexpr int helpKeyCommand = POSEBRIDGE_HELP_KEY_COMMAND;
