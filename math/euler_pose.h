#pragma once

#include "math/transform.h"

// A KUKA or FANUC pose: translation in millimetres and the rotation
// Rz(a) * Ry(b) * Rx(c) in degrees. KUKA's A, B, C are a, b, c; FANUC's
// W, P, R are c, b, a.
struct EulerPose {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
};

EulerPose makeEulerPose(float x, float y, float z, float a, float b, float c);

Transform rotationX(double radians);
Transform rotationY(double radians);
Transform rotationZ(double radians);

Transform transformFromEulerPose(EulerPose p);
EulerPose eulerPoseFromTransform(Transform m);
double clampToRange(double value, double lower, double upper);
