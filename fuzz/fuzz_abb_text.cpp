// Reads arbitrary text as ABB RAPID; the pose read is normalised, and a
// pose of unit length survives the writer and the reader again.

#include "calculator/field_texts.h"
#include "fuzz/fuzz_input.h"
#include "notation/abb_text.h"

namespace {

bool isDefault(const QuatPose& p) {
    return p.x == 0.0 && p.y == 0.0 && p.z == 0.0 && p.q1 == 1.0 && p.q2 == 0.0 && p.q3 == 0.0 &&
           p.q4 == 0.0 && p.unitLength;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wchar_t text[textBufferUnits];
    wideFromBytes(data, size, text, textBufferUnits);

    QuatPose pose;
    if (!parseAbbText(text, pose)) {
        // A refused text leaves the caller's pose as it was.
        FUZZ_CHECK(isDefault(pose));
        return 0;
    }
    const double q[4] = {pose.q1, pose.q2, pose.q3, pose.q4};
    const bool finite =
        std::isfinite(q[0]) && std::isfinite(q[1]) && std::isfinite(q[2]) && std::isfinite(q[3]);
    // Only an all-zero quaternion cannot be normalised, and it is never of unit length.
    FUZZ_CHECK(finite || !pose.unitLength);
    if (!finite) {
        return 0;
    }
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    FUZZ_CHECK(std::fabs(norm - 1.0) < 1e-9);
    FUZZ_CHECK(std::isfinite(pose.x) && std::isfinite(pose.y) && std::isfinite(pose.z));

    // A work object's composed position may leave the range of float, which
    // no text can carry back.
    if (!withinFloatRange(pose.x) || !withinFloatRange(pose.y) || !withinFloatRange(pose.z)) {
        return 0;
    }
    wchar_t written[textBufferUnits];
    FUZZ_CHECK(formatAbbText(pose, written, textBufferUnits - 1));
    QuatPose again;
    FUZZ_CHECK(parseAbbText(written, again));
    FUZZ_CHECK(again.unitLength);
    FUZZ_CHECK(nearAfterRoundTrip(pose.x, again.x, 0.005));
    FUZZ_CHECK(nearAfterRoundTrip(pose.y, again.y, 0.005));
    FUZZ_CHECK(nearAfterRoundTrip(pose.z, again.z, 0.005));
    // Seven printed decimals, one float rounding and the renormalisation.
    const double back[4] = {again.q1, again.q2, again.q3, again.q4};
    for (int k = 0; k < 4; ++k) {
        FUZZ_CHECK(std::fabs(q[k] - back[k]) <= 5e-7);
    }
    return 0;
}
