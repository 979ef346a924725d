#pragma once

#include "math/euler_pose.h"
#include "math/quat_pose.h"
#include "math/transform.h"

// The calculator: the current transformation, its two derived pose forms and
// the memory slots. The pose forms are always derived from the matrix, never
// copied from what the user typed.
struct CalculatorState {
    Transform current;
    EulerPose currentEuler;
    QuatPose currentQuat;
    Transform slotA;
    Transform slotB;
};

// The one calculator of the process; it starts with its start values.
extern CalculatorState calculator;

void resetCalculator();
void setCurrentTransform(Transform m);
void setCurrentFromEulerPose(EulerPose pose);
void setCurrentFromQuatPose(QuatPose pose);
void setSlotA(bool clear);
void setSlotB(bool clear);
void invertCurrent();
bool multiplySlots();
