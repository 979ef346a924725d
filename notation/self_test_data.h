#pragma once

// The reference data of the start-up self-test: one robot flange pose seen
// under three user frames and four tools. Each text is read with its
// notation's own reader; the irregular spacing is deliberate, it exercises
// the readers' tolerance of blanks.

// positions[i - 1][j - 1] is the position taught under user frame i with tool
// j (i = 1 to 3, j = 1 to 4). Frame 0 and tool 0 are the identity; they take
// no part in the comparison but must still be readable.
struct AbbSelfTestData {
    const wchar_t* userFrames[4];
    const wchar_t* tools[5];
    const wchar_t* positions[3][4];
    const wchar_t* reference;
};

struct FanucSelfTestData {
    const wchar_t* userFrames[4];
    const wchar_t* toolFrames[5];
    const wchar_t* positions[3][4];
    const wchar_t* reference;
};

extern const AbbSelfTestData abbSelfTestData;
extern const FanucSelfTestData fanucSelfTestData;
