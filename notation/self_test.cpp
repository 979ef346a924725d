#include "notation/self_test.h"

#include "math/number_text.h"
#include "notation/abb_text.h"
#include "notation/fanuc_text.h"

#include <cstring>

namespace {

// Appends value as "%.Nf" behind the text already in out[0..length), after a
// blank unless it is the first value; false when it does not fit.
bool appendFixed(double value, int decimals, char* out, int capacity, int& length) {
    if (length > 0) {
        if (length + 1 >= capacity) {
            return false;
        }
        out[length++] = ' ';
        out[length] = '\0';
    }
    FixedFormat format;
    format.decimals = decimals;
    const int written = formatFixed(value, format, out + length, capacity - length);
    if (written < 0) {
        return false;
    }
    length += written;
    return true;
}

bool formatValues(const double* values, const int* decimals, int count, char* out, int capacity) {
    if (capacity <= 0) {
        return false;
    }
    out[0] = '\0';
    int length = 0;
    for (int k = 0; k < count; ++k) {
        if (!appendFixed(values[k], decimals[k], out, capacity, length)) {
            out[0] = '\0';
            return false;
        }
    }
    return true;
}

} // namespace

bool formatAbbComparison(const QuatPose& pose, char* out, int capacity) {
    const double values[7] = {pose.x, pose.y, pose.z, pose.q1, pose.q2, pose.q3, pose.q4};
    const int decimals[7] = {1, 1, 1, 4, 4, 4, 4};
    return formatValues(values, decimals, 7, out, capacity);
}

bool formatFanucComparison(const EulerPose& pose, char* out, int capacity) {
    // FANUC order: X, Y, Z, W, P, R, where W is c and R is a.
    const double values[6] = {pose.x, pose.y, pose.z, pose.c, pose.b, pose.a};
    const int decimals[6] = {1, 1, 1, 1, 1, 1};
    return formatValues(values, decimals, 6, out, capacity);
}

Transform flangeTransform(Transform userFrame, Transform position, Transform tool) {
    const Transform framed = multiply(userFrame, position);
    return multiply(framed, inverse(tool));
}

// The comparison is of the printed texts, so a printed "-0.0" against "0.0",
// or a quaternion of the other sign, fails: that pins the sign choices of the
// conversions, not only the rotation they describe.
bool selfTestAbb(const AbbSelfTestData& data) {
    QuatPose userFrames[4];
    for (int k = 0; k < 4; ++k) {
        if (!parseAbbText(data.userFrames[k], userFrames[k])) {
            return false;
        }
    }
    QuatPose tools[5];
    for (int k = 0; k < 5; ++k) {
        if (!parseAbbText(data.tools[k], tools[k])) {
            return false;
        }
    }
    // A position that cannot be read keeps the default pose, which the
    // comparison below then rejects.
    QuatPose positions[3][4];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            parseAbbText(data.positions[i][j], positions[i][j]);
        }
    }
    QuatPose reference;
    if (!parseAbbText(data.reference, reference)) {
        return false;
    }
    char referenceText[comparisonTextSize];
    if (!formatAbbComparison(reference, referenceText, comparisonTextSize)) {
        return false;
    }
    char text[comparisonTextSize];
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 4; ++j) {
            const Transform flange = flangeTransform(transformFromQuatPose(userFrames[i]),
                                                     transformFromQuatPose(positions[i - 1][j - 1]),
                                                     transformFromQuatPose(tools[j]));
            if (!formatAbbComparison(quatPoseFromTransform(flange), text, comparisonTextSize) ||
                std::strcmp(text, referenceText) != 0) {
                return false;
            }
        }
    }
    return true;
}

bool selfTestFanuc(const FanucSelfTestData& data) {
    EulerPose userFrames[4];
    for (int k = 0; k < 4; ++k) {
        if (!parseFanucText(data.userFrames[k], userFrames[k])) {
            return false;
        }
    }
    EulerPose toolFrames[5];
    for (int k = 0; k < 5; ++k) {
        if (!parseFanucText(data.toolFrames[k], toolFrames[k])) {
            return false;
        }
    }
    EulerPose positions[3][4];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            parseFanucText(data.positions[i][j], positions[i][j]);
        }
    }
    EulerPose reference;
    if (!parseFanucText(data.reference, reference)) {
        return false;
    }
    char referenceText[comparisonTextSize];
    if (!formatFanucComparison(reference, referenceText, comparisonTextSize)) {
        return false;
    }
    char text[comparisonTextSize];
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 4; ++j) {
            const Transform flange =
                flangeTransform(transformFromEulerPose(userFrames[i]),
                                transformFromEulerPose(positions[i - 1][j - 1]),
                                transformFromEulerPose(toolFrames[j]));
            if (!formatFanucComparison(eulerPoseFromTransform(flange), text, comparisonTextSize) ||
                std::strcmp(text, referenceText) != 0) {
                return false;
            }
        }
    }
    return true;
}

bool selfTestAbb() {
    return selfTestAbb(abbSelfTestData);
}

bool selfTestFanuc() {
    return selfTestFanuc(fanucSelfTestData);
}

bool runSelfTest() {
    // Both sets run even when the first fails.
    const bool abbPassed = selfTestAbb();
    const bool fanucPassed = selfTestFanuc();
    return abbPassed && fanucPassed;
}
