#include "calculator_fixture.h"

#include "math/euler_pose.h"

#include <cfloat>
#include <limits>

namespace {

// Taken during dynamic initialisation, before any test resets the state: the
// start values must already be there from static initialisation.
const CalculatorState stateBeforeMain = calculator;

Transform translation(double x, double y, double z) {
    Transform m = identityTransform();
    at(m, 0, 3) = x;
    at(m, 1, 3) = y;
    at(m, 2, 3) = z;
    return m;
}

EulerPose eulerPose(double x, double y, double z, double a, double b, double c) {
    EulerPose p;
    p.x = x;
    p.y = y;
    p.z = z;
    p.a = a;
    p.b = b;
    p.c = c;
    return p;
}

void expectStartValues(const CalculatorState& s) {
    const Transform identity = identityTransform();
    EXPECT_TRUE(transformsNear(identity, s.current, 0.0));
    EXPECT_TRUE(transformsNear(identity, s.slotA, 0.0));
    EXPECT_TRUE(transformsNear(identity, s.slotB, 0.0));
    const EulerPose& e = s.currentEuler;
    for (double v : {e.x, e.y, e.z, e.a, e.b, e.c}) {
        EXPECT_EQ(0.0, v);
    }
    const QuatPose& q = s.currentQuat;
    for (double v : {q.x, q.y, q.z, q.q2, q.q3, q.q4}) {
        EXPECT_EQ(0.0, v);
    }
    EXPECT_EQ(1.0, q.q1);
    EXPECT_TRUE(q.unitLength);
}

using CalculatorStateTest = CalculatorTest;

TEST_F(CalculatorStateTest, StartsAndResetsToStartValues) {
    expectStartValues(stateBeforeMain);
    setBusyState();
    resetCalculator();
    expectStartValues(calculator);
}

TEST_F(CalculatorStateTest, PoseFormsComeBackFromTheMatrix) {
    setCurrentFromEulerPose(eulerPose(1, 2, 3, 270, 0, 0));
    EXPECT_NEAR(-90.0, calculator.currentEuler.a, 1e-9);

    // FANUC W = 10, P = 20, R = 30 are c, b, a: KUKA shows A = 30, B = 20, C = 10.
    setCurrentFromEulerPose(eulerPose(0, 0, 0, 30, 20, 10));
    EXPECT_NEAR(30.0, calculator.currentEuler.a, 1e-9);
    EXPECT_NEAR(20.0, calculator.currentEuler.b, 1e-9);
    EXPECT_NEAR(10.0, calculator.currentEuler.c, 1e-9);
}

TEST_F(CalculatorStateTest, MultiplySlotsOfStoredAndEmptySlots) {
    EXPECT_TRUE(multiplySlots()); // identity times identity is a success
    EXPECT_TRUE(transformsNear(identityTransform(), calculator.current, 0.0));

    const EulerPose pose = eulerPose(100, -50, 25, 10, 20, 30);
    setCurrentFromEulerPose(pose);
    const Transform stored = calculator.current;
    setSlotA(false);
    setCurrentFromEulerPose(eulerPose(0, 0, 0, 0, 0, 0));
    ASSERT_TRUE(multiplySlots());
    EXPECT_TRUE(transformsNear(stored, calculator.current, 1e-12));

    setSlotA(true);
    setCurrentFromEulerPose(pose);
    setSlotB(false);
    setCurrentFromEulerPose(eulerPose(0, 0, 0, 0, 0, 0));
    ASSERT_TRUE(multiplySlots());
    EXPECT_TRUE(transformsNear(stored, calculator.current, 1e-12));

    // A pose times its inverse is the identity.
    setCurrentFromEulerPose(pose);
    setSlotA(false);
    invertCurrent();
    setSlotB(false);
    ASSERT_TRUE(multiplySlots());
    EXPECT_TRUE(transformsNear(identityTransform(), calculator.current, 1e-12));
    EXPECT_NEAR(0.0, calculator.currentEuler.x, 1e-12);
}

TEST_F(CalculatorStateTest, RefusedProductsLeaveEveryRecord) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double big = 3e38; // twice this is beyond single precision
    struct Case {
        const char* name;
        Transform a;
        Transform b;
    };
    Transform scaled = identityTransform();
    at(scaled, 0, 0) = 2.0;
    const Case cases[] = {
        {"not orthogonal", scaled, identityTransform()},
        {"overflows single precision", translation(big, 0, 0), translation(big, 0, 0)},
        {"negative overflow", translation(0, 0, -big), translation(0, 0, -big)},
        {"not a number", translation(nan, 0, 0), identityTransform()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setBusyState();
        calculator.slotA = c.a;
        calculator.slotB = c.b;
        const CalculatorState before = calculator;
        EXPECT_FALSE(multiplySlots());
        EXPECT_TRUE(sameState(before, calculator));
    }

    // Right at the limit of single precision the product is still adopted.
    calculator.slotA = translation(FLT_MAX / 2.0, 0, 0);
    calculator.slotB = calculator.slotA;
    ASSERT_TRUE(multiplySlots());
    EXPECT_EQ(static_cast<double>(FLT_MAX), calculator.currentEuler.x);
}

TEST_F(CalculatorStateTest, SlotsStoreTheCurrentTransformAndClearToIdentity) {
    setBusyState();
    const Transform current = calculator.current;
    setSlotA(false);
    EXPECT_TRUE(transformsNear(current, calculator.slotA, 0.0));
    setSlotB(true);
    EXPECT_TRUE(transformsNear(identityTransform(), calculator.slotB, 0.0));
    EXPECT_TRUE(transformsNear(current, calculator.current, 0.0));
}

} // namespace
