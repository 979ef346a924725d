#include "calculator/imports.h"

#include "calculator/calculator_state.h"
#include "calculator/messages.h"
#include "math/matrix_validation.h"

bool importKuka(FieldTexts& texts) {
    EulerPose pose;
    if (!readKukaFields(texts, pose)) {
        setTextBuffer(texts, invalidInputMessage);
        return false;
    }
    setCurrentFromEulerPose(pose);
    return true;
}

bool importFanuc(FieldTexts& texts) {
    EulerPose pose;
    if (!readFanucFields(texts, pose)) {
        setTextBuffer(texts, invalidInputMessage);
        return false;
    }
    setCurrentFromEulerPose(pose);
    return true;
}

bool importAbb(FieldTexts& texts) {
    QuatPose pose;
    if (!readAbbFields(texts, pose)) {
        setTextBuffer(texts, invalidInputMessage);
        return false;
    }
    if (!pose.unitLength) {
        setTextBuffer(texts, unitQuaternionMessage);
        return false;
    }
    setCurrentFromQuatPose(pose);
    return true;
}

bool importMatrix(FieldTexts& texts) {
    Transform m = identityTransform();
    if (!readMatrixFields(texts, m)) {
        setTextBuffer(texts, invalidInputMessage);
        return false;
    }
    if (!isRigidTransform(m)) {
        setTextBuffer(texts, matrixRejectionMessage(m));
        return false;
    }
    // The validation lets a bottom row within its tolerance pass, and an
    // M(3,3) of -1; neither may leak into the inverse or later products.
    at(m, 3, 0) = 0.0;
    at(m, 3, 1) = 0.0;
    at(m, 3, 2) = 0.0;
    at(m, 3, 3) = 1.0;
    setCurrentTransform(m);
    return true;
}
