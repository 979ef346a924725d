#pragma once

#include "math/transform.h"

bool isRigidTransform(Transform m);
bool isOrthogonal(Transform m);
bool isRightHanded(Transform m);
bool magnitudesMatch(Transform p, Transform q);
bool nearlyEqual(double a, double b);

// The message that the matrix import shows for a matrix that isRigidTransform refused.
const wchar_t* matrixRejectionMessage(Transform m);
