#pragma once

// The check that the KUKA and FANUC targets share: read arbitrary text as
// that notation; what was read must survive the writer and the reader again.

#include "calculator/field_texts.h"
#include "fuzz/fuzz_input.h"
#include "math/euler_pose.h"

using EulerReader = bool (*)(const wchar_t*, EulerPose&);
using EulerWriter = bool (*)(EulerPose, wchar_t*, int);

inline double* eulerField(EulerPose& pose, int k) {
    double* all[6] = {&pose.x, &pose.y, &pose.z, &pose.a, &pose.b, &pose.c};
    return all[k];
}

// tolerance: half a unit of the writer's last printed decimal.
inline int checkEulerReader(const std::uint8_t* data, std::size_t size, EulerReader read,
                            EulerWriter write, double tolerance) {
    wchar_t text[textBufferUnits];
    wideFromBytes(data, size, text, textBufferUnits);

    constexpr double untouched = 7.0;
    EulerPose pose{untouched, untouched, untouched, untouched, untouched, untouched};
    const bool wasRead = read(text, pose);
    // Every field keeps the caller's value, becomes 0.0 (letter without a
    // number) or holds a number read in single precision.
    for (int k = 0; k < 6; ++k) {
        const double v = *eulerField(pose, k);
        FUZZ_CHECK(v == untouched || isWidenedFloat(v));
        if (!wasRead) {
            FUZZ_CHECK(v == untouched || v == 0.0);
        }
    }
    if (!wasRead) {
        return 0;
    }

    wchar_t written[textBufferUnits];
    FUZZ_CHECK(write(pose, written, textBufferUnits - 1));
    EulerPose again{-1.0, -1.0, -1.0, -1.0, -1.0, -1.0};
    FUZZ_CHECK(read(written, again));
    for (int k = 0; k < 6; ++k) {
        FUZZ_CHECK(nearAfterRoundTrip(*eulerField(pose, k), *eulerField(again, k), tolerance));
    }
    return 0;
}
