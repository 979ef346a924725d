#include "robotfiles/krl/krl_writer.h"
#include "math/transform.h"
#include "notation/kuka_text.h"
#include "robotfiles/decimal_text.h"

#include "math/euler_pose.h"
#include "robotfiles/program_output.h"

#include <cmath>

std::string krlPoseText(const PoseValues& pose) {
    float v[6];
    if (!eulerAsRead(pose, v)) {
        const EulerPose e = eulerPoseFromTransform(pose.matrix);
        const double converted[6] = {e.x, e.y, e.z, e.a, e.b, e.c};
        for (int k = 0; k < 6; ++k) {
            v[k] = k >= 3 && std::fabs(converted[k]) < conversionNoise
                       ? 0.0f
                       : static_cast<float>(converted[k]);
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

std::string krlWindowText(const Transform& pose) {
    wchar_t buffer[wideTextCapacity];
    if (!formatKukaText(eulerPoseFromTransform(pose), buffer, wideTextCapacity)) {
        return {};
    }
    return narrowAscii(buffer);
}

std::string krlFineText(const Transform& pose) {
    const EulerPose p = eulerPoseFromTransform(pose);
    return "{X " + fixedText(p.x, 3) + ", Y " + fixedText(p.y, 3) + ", Z " + fixedText(p.z, 3) +
           ", A " + fixedText(p.a, 4) + ", B " + fixedText(p.b, 4) + ", C " + fixedText(p.c, 4) +
           "}";
}
