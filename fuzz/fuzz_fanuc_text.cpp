// Reads arbitrary text as a FANUC listing; what was read must survive the
// writer and the reader again.

#include "calculator/field_texts.h"
#include "fuzz/fuzz_input.h"
#include "notation/fanuc_text.h"

namespace {

constexpr double untouched = 7.0;

double* fields(EulerPose& pose, int k) {
    double* all[6] = {&pose.x, &pose.y, &pose.z, &pose.a, &pose.b, &pose.c};
    return all[k];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wchar_t text[textBufferUnits];
    wideFromBytes(data, size, text, textBufferUnits);

    EulerPose pose{untouched, untouched, untouched, untouched, untouched, untouched};
    const bool read = parseFanucText(text, pose);
    for (int k = 0; k < 6; ++k) {
        const double v = *fields(pose, k);
        FUZZ_CHECK(v == untouched || isWidenedFloat(v));
        if (!read) {
            FUZZ_CHECK(v == untouched || v == 0.0);
        }
    }
    if (!read) {
        return 0;
    }

    wchar_t written[textBufferUnits];
    FUZZ_CHECK(formatFanucText(pose, written, textBufferUnits - 1));
    EulerPose again{-1.0, -1.0, -1.0, -1.0, -1.0, -1.0};
    FUZZ_CHECK(parseFanucText(written, again));
    for (int k = 0; k < 6; ++k) {
        FUZZ_CHECK(nearAfterRoundTrip(*fields(pose, k), *fields(again, k), 0.0005));
    }
    return 0;
}
