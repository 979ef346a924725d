#pragma once

// Proves the conversion chain against stored reference data: for every user
// frame U and tool T of each set, U * P * inverse(T) must give the reference.
bool runSelfTest();
bool selfTestAbb();
bool selfTestFanuc();
