// Reads arbitrary text in one of the thirteen notations, the first byte
// picking which: a text it takes is a rigid pose that its writers print back
// as a text it takes again; a text it refuses gets a message. Whether the
// text looks like the notation must never matter to the reader's safety.

#include "fuzz/notation_check.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const Notation> notations = allNotations();
    if (size == 0) {
        return 0;
    }
    const Notation& notation = notations[data[0] % notations.size()];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    (void)notation.recognizes(text);
    Transform pose;
    NotationText carried;
    std::string message;
    if (!notation.read(text, pose, carried, message)) {
        FUZZ_CHECK(!message.empty());
        return 0;
    }
    checkReadPose(notation, pose);
    checkWrittenBack(notation, pose, carried);
    return 0;
}
