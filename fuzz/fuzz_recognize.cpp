// Recognises arbitrary clipboard text. Whatever happens, the calculator must
// hold a rigid transformation with pose forms derived from it; a refusal
// leaves its message and the state exactly as it was.

#include "calculator/calculator_state.h"
#include "calculator/field_texts.h"
#include "calculator/messages.h"
#include "calculator/recognition.h"
#include "fuzz/fuzz_input.h"
#include "math/matrix_validation.h"

#include <cwchar>

namespace {

bool sameTransform(const Transform& p, const Transform& q) {
    return std::memcmp(p.e, q.e, sizeof p.e) == 0;
}

bool sameEuler(const EulerPose& p, const EulerPose& q) {
    return sameBits(p.x, q.x) && sameBits(p.y, q.y) && sameBits(p.z, q.z) && sameBits(p.a, q.a) &&
           sameBits(p.b, q.b) && sameBits(p.c, q.c);
}

// Field by field: the record has padding behind its flag.
bool sameQuat(const QuatPose& p, const QuatPose& q) {
    return sameBits(p.x, q.x) && sameBits(p.y, q.y) && sameBits(p.z, q.z) && sameBits(p.q1, q.q1) &&
           sameBits(p.q2, q.q2) && sameBits(p.q3, q.q3) && sameBits(p.q4, q.q4) &&
           p.unitLength == q.unitLength;
}

bool sameState(const CalculatorState& p, const CalculatorState& q) {
    return sameTransform(p.current, q.current) && sameEuler(p.currentEuler, q.currentEuler) &&
           sameQuat(p.currentQuat, q.currentQuat) && sameTransform(p.slotA, q.slotA) &&
           sameTransform(p.slotB, q.slotB);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A state unlike the start values, so that a stray reset shows.
    resetCalculator();
    setCurrentFromEulerPose(EulerPose{1, -2, 3, 40, -50, 60});
    setSlotA(false);
    setCurrentFromEulerPose(EulerPose{-4, 5, -6, -70, 20, -10});
    const CalculatorState before = calculator;

    static FieldTexts texts;
    initFieldTexts(texts);
    wideFromBytes(data, size, texts.text, textBufferUnits);
    static wchar_t original[textBufferUnits];
    std::wmemcpy(original, texts.text, textBufferUnits);

    if (recognizeRobotText(texts)) {
        FUZZ_CHECK(std::wmemcmp(original, texts.text, textBufferUnits) == 0);
        FUZZ_CHECK(isRigidTransform(calculator.current));
        const EulerPose euler = eulerPoseFromTransform(calculator.current);
        const QuatPose quat = quatPoseFromTransform(calculator.current);
        FUZZ_CHECK(sameEuler(calculator.currentEuler, euler));
        FUZZ_CHECK(sameQuat(calculator.currentQuat, quat));
        FUZZ_CHECK(calculator.currentQuat.unitLength);
        FUZZ_CHECK(sameTransform(calculator.slotA, before.slotA));
        FUZZ_CHECK(sameTransform(calculator.slotB, before.slotB));
    } else {
        FUZZ_CHECK(std::wcscmp(texts.text, unitQuaternionMessage) == 0 ||
                   std::wcscmp(texts.text, parsingFailedMessage) == 0);
        FUZZ_CHECK(sameState(before, calculator));
    }
    return 0;
}
