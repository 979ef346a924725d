#include "notation/abb_text.h"

#include "math/number_text.h"
#include "notation/narrow_text.h"
#include "notation/scan.h"
#include "notation/wide_writer.h"

#include <cstring>

namespace {

constexpr char posePattern[] = "[ [ %g , %g , %g ] , [ %g , %g , %g , %g";
constexpr char posePairPattern[] = "[ [ %g , %g , %g ] , [ %g , %g , %g , %g ] ] , "
                                   "[ [ %g , %g , %g ] , [ %g , %g , %g , %g";
constexpr int poseNumbers = 7;

void storePose(const float* values, QuatPose& pose) {
    pose.x = values[0];
    pose.y = values[1];
    pose.z = values[2];
    pose.q1 = values[3];
    pose.q2 = values[4];
    pose.q3 = values[5];
    pose.q4 = values[6];
    pose.normalize();
}

// Reads [[x, y, z], [q1, q2, q3, q4] at position; what follows the last
// number (closing brackets, configuration, external axes) is never examined.
bool scanAbbPose(const char* position, QuatPose& pose) {
    if (position == nullptr) {
        return false;
    }
    float values[poseNumbers];
    if (scanPattern(position, posePattern, values, poseNumbers) != poseNumbers) {
        return false;
    }
    storePose(values, pose);
    return true;
}

bool scanAbbPosePair(const char* position, QuatPose& first, QuatPose& second) {
    if (position == nullptr) {
        return false;
    }
    float values[2 * poseNumbers];
    if (scanPattern(position, posePairPattern, values, 2 * poseNumbers) != 2 * poseNumbers) {
        return false;
    }
    storePose(values, first);
    storePose(values + poseNumbers, second);
    return true;
}

// The second "[" after the ":=" that follows the keyword: where the pose
// inside a tooldata or the pose pair inside a wobjdata begins.
const char* secondBracketAfterAssignment(const char* keyword) {
    const char* assignment = std::strstr(keyword, ":=");
    if (assignment == nullptr) {
        return nullptr;
    }
    const char* first = std::strchr(assignment + 2, '[');
    if (first == nullptr) {
        return nullptr;
    }
    return std::strchr(first + 1, '[');
}

// A work object is the user frame followed by the object frame.
bool parseWorkObject(const char* keyword, QuatPose& pose) {
    const char* start = secondBracketAfterAssignment(keyword);
    QuatPose userFrame;
    QuatPose objectFrame;
    if (!scanAbbPosePair(start, userFrame, objectFrame)) {
        return false;
    }
    const Transform frame =
        multiply(transformFromQuatPose(userFrame), transformFromQuatPose(objectFrame));
    QuatPose composed = quatPoseFromTransform(frame);
    // A non-unit quaternion is refused in every other ABB form; normalising
    // it here before composing would let a mistyped frame through silently.
    if (!userFrame.unitLength || !objectFrame.unitLength) {
        composed.unitLength = false;
    }
    pose = composed;
    return true;
}

} // namespace

bool parseAbbText(const wchar_t* text, QuatPose& pose) {
    char narrow[narrowBufferSize];
    narrowText(text, narrow);
    lowerCaseAscii(narrow);

    // A robtarget's pose starts right after ":="; a blank there does not
    // match the pattern's first "[". Without ":=" the keyword is passed by.
    if (const char* keyword = std::strstr(narrow, "robtarget")) {
        if (const char* assignment = std::strstr(keyword, ":=")) {
            return scanAbbPose(assignment + 2, pose);
        }
    }
    if (const char* keyword = std::strstr(narrow, "wobjdata")) {
        return parseWorkObject(keyword, pose);
    }
    if (const char* keyword = std::strstr(narrow, "tooldata")) {
        return scanAbbPose(secondBracketAfterAssignment(keyword), pose);
    }
    return scanAbbPose(std::strchr(narrow, '['), pose);
}

bool formatAbbText(QuatPose pose, wchar_t* buffer, int capacity) {
    const FixedFormat position{2, 0, false};
    const FixedFormat quaternion{7, 0, false};
    WideWriter writer = startWideText(buffer, capacity);
    appendAscii(writer, "[[");
    appendFixed(writer, pose.x, position);
    appendAscii(writer, ", ");
    appendFixed(writer, pose.y, position);
    appendAscii(writer, ", ");
    appendFixed(writer, pose.z, position);
    appendAscii(writer, "], [");
    appendFixed(writer, pose.q1, quaternion);
    appendAscii(writer, ", ");
    appendFixed(writer, pose.q2, quaternion);
    appendAscii(writer, ", ");
    appendFixed(writer, pose.q3, quaternion);
    appendAscii(writer, ", ");
    appendFixed(writer, pose.q4, quaternion);
    appendAscii(writer, "]]");
    return finishWideText(writer);
}
