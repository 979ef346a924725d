#include "robotfiles/krl/pose_text.h"

#include "math/euler_pose.h"
#include "robotfiles/program_output.h"

std::string krlPoseText(const PoseValues& pose) {
    float v[6];
    if (!eulerAsRead(pose, v)) {
        const EulerPose e = eulerPoseFromTransform(pose.matrix);
        const double converted[6] = {e.x, e.y, e.z, e.a, e.b, e.c};
        for (int k = 0; k < 6; ++k) {
            v[k] = static_cast<float>(converted[k]);
        }
    }
    static const char* const labels[6] = {"{X ", ",Y ", ",Z ", ",A ", ",B ", ",C "};
    std::string text;
    for (int k = 0; k < 6; ++k) {
        text += labels[k];
        text += plainDecimal(v[k]);
    }
    text += '}';
    return text;
}
