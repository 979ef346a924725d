// Reads arbitrary text as `convert --from auto` does: the notation found
// reads the text to the very same pose on its own, a text of no notation or
// of several is refused with a message, and what is read is rigid and
// written back as a text that is recognised as that notation again.

#include "cli/inputs/pose_text.h"
#include "fuzz/notation_check.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Transform pose;
    NotationText carried;
    const Notation* notation = nullptr;
    std::string message;
    if (!readPoseText(text, "", pose, carried, notation, message)) {
        FUZZ_CHECK(!message.empty());
        return 0;
    }
    FUZZ_CHECK(notation != nullptr);
    Transform alone;
    NotationText carriedAlone;
    std::string ignored;
    FUZZ_CHECK(notation->read(text, alone, carriedAlone, ignored));
    FUZZ_CHECK(std::memcmp(alone.e, pose.e, sizeof pose.e) == 0);
    FUZZ_CHECK(carriedAlone.carried == carried.carried);
    checkReadPose(*notation, pose);
    checkWrittenBack(*notation, pose, carried);
    // What convert prints, convert --from auto takes back as the same notation.
    if (writable(pose)) {
        const std::string written = notation->write(pose, carried);
        const Notation* found = nullptr;
        Transform again;
        NotationText carriedAgain;
        FUZZ_CHECK(readPoseText(written, "", again, carriedAgain, found, message));
        FUZZ_CHECK(found == notation);
    }
    return 0;
}
