#include "robotfiles/rapid/rapid_writer.h"
#include "math/transform.h"
#include "notation/abb_text.h"
#include "robotfiles/decimal_text.h"

#include "math/quat_pose.h"
#include "robotfiles/program_output.h"

#include <cmath>

std::string rapidRobtargetText(const PoseValues& pose) {
    float v[7];
    if (!quaternionAsRead(pose, v)) {
        const QuatPose q = quatPoseFromTransform(pose.matrix);
        const double converted[7] = {q.x, q.y, q.z, q.q1, q.q2, q.q3, q.q4};
        for (int k = 0; k < 7; ++k) {
            v[k] = k >= 3 && std::fabs(converted[k]) < conversionNoise
                       ? 0.0f
                       : static_cast<float>(converted[k]);
        }
    }
    std::string text = "[[";
    for (int k = 0; k < 7; ++k) {
        text += plainDecimal(v[k]);
        text += k == 2 ? "],[" : k == 6 ? "]" : ",";
    }
    text += ",[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]]";
    return text;
}

std::string rapidWindowText(const Transform& pose) {
    wchar_t buffer[wideTextCapacity];
    if (!formatAbbText(quatPoseFromTransform(pose), buffer, wideTextCapacity)) {
        return {};
    }
    return narrowAscii(buffer);
}

std::string rapidFineText(const Transform& pose) {
    const QuatPose q = quatPoseFromTransform(pose);
    return "[[" + fixedText(q.x, 3) + "," + fixedText(q.y, 3) + "," + fixedText(q.z, 3) + "],[" +
           fixedText(q.q1, 8) + "," + fixedText(q.q2, 8) + "," + fixedText(q.q3, 8) + "," +
           fixedText(q.q4, 8) + "]]";
}
