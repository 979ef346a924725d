#include "calculator/calculator_state.h"

#include "math/matrix_validation.h"

#include <cfloat>
#include <cmath>

namespace {

constexpr Transform identityValue() {
    Transform m;
    m.e[0] = 1.0;
    m.e[5] = 1.0;
    m.e[10] = 1.0;
    m.e[15] = 1.0;
    return m;
}

// The pose forms are set directly: they equal what the identity derives to,
// and static initialisation cannot call the conversions.
constexpr CalculatorState startState() {
    CalculatorState state;
    state.current = identityValue();
    state.currentEuler = EulerPose{};
    state.currentQuat = QuatPose{};
    state.slotA = identityValue();
    state.slotB = identityValue();
    return state;
}

// Every number the user can type arrives in single precision; a product
// beyond that range (or not a number at all) cannot be shown or read back.
bool withinSingleRange(const Transform& m) {
    for (double v : m.e) {
        if (!std::isfinite(v) || std::fabs(v) > static_cast<double>(FLT_MAX)) {
            return false;
        }
    }
    return true;
}

} // namespace

constinit CalculatorState calculator = startState();

void resetCalculator() {
    calculator = startState();
}

void setCurrentTransform(Transform m) {
    calculator.current = m;
    calculator.currentEuler = eulerPoseFromTransform(m);
    calculator.currentQuat = quatPoseFromTransform(m);
}

void setCurrentFromEulerPose(EulerPose pose) {
    setCurrentTransform(transformFromEulerPose(pose));
}

void setCurrentFromQuatPose(QuatPose pose) {
    setCurrentTransform(transformFromQuatPose(pose));
}

void setSlotA(bool clear) {
    calculator.slotA = clear ? identityValue() : calculator.current;
}

void setSlotB(bool clear) {
    calculator.slotB = clear ? identityValue() : calculator.current;
}

void invertCurrent() {
    setCurrentTransform(inverse(calculator.current));
}

bool multiplySlots() {
    const Transform product = multiply(calculator.slotA, calculator.slotB);
    if (!withinSingleRange(product) || !isRigidTransform(product)) {
        return false;
    }
    setCurrentTransform(product);
    return true;
}
