#include "robotfiles/fanuc/pose_text.h"

#include "math/euler_pose.h"
#include "math/number_text.h"

std::string fanucDecimal(double value) {
    char buffer[64];
    if (formatFixed(value, FixedFormat{3, 0, false}, buffer, sizeof buffer) < 0) {
        return "********";
    }
    std::string text = buffer;
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    if (text.rfind("0.", 0) == 0) {
        text.erase(0, 1);
    } else if (text.rfind("-0.", 0) == 0) {
        text.erase(1, 1);
    }
    return text;
}

std::string fanucMembersText(const PoseValues& pose, std::string_view lineEnd) {
    double v[6];
    float read[6];
    if (eulerAsRead(pose, read)) {
        for (int k = 0; k < 6; ++k) {
            v[k] = static_cast<double>(read[k]);
        }
    } else {
        const EulerPose e = eulerPoseFromTransform(pose.matrix);
        const double converted[6] = {e.x, e.y, e.z, e.a, e.b, e.c};
        for (int k = 0; k < 6; ++k) {
            v[k] = converted[k];
        }
    }
    // W, P, R turn about X, Y, Z: they are c, b, a.
    const struct {
        const char* label;
        double value;
        const char* unit;
    } members[] = {{"\tX = ", v[0], "  mm,"}, {"\tY = ", v[1], "  mm,"}, {"\tZ = ", v[2], "  mm,"},
                   {"\tW = ", v[5], " deg,"}, {"\tP = ", v[4], " deg,"}, {"\tR = ", v[3], " deg"}};
    std::string text;
    for (int k = 0; k < 6; ++k) {
        const std::string number = fanucDecimal(members[k].value);
        text += members[k].label;
        if (number.size() < 9) {
            text.append(9 - number.size(), ' ');
        }
        text += number;
        text += members[k].unit;
        if (k == 2 || k == 5) {
            text += lineEnd;
        }
    }
    return text;
}
