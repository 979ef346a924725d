#include "robotfiles/notations/notation_vector_quaternion.h"

#include "math/quat_pose.h"

#include <cmath>

namespace {

// Within this of a half turn the rotation vector and its negative are the
// same rotation, and the sign rule picks one.
constexpr double halfTurnTolerance = 1e-9;

// The core's quaternion with its scalar part w >= 0: the turn is then at most
// a half turn.
QuatPose nonNegativeQuaternion(const Transform& pose) {
    QuatPose q = quatPoseFromTransform(pose);
    if (q.q1 < 0.0) {
        q.q1 = -q.q1;
        q.q2 = -q.q2;
        q.q3 = -q.q3;
        q.q4 = -q.q4;
    }
    return q;
}

void negateThree(double* v) {
    for (int i = 0; i < 3; ++i) {
        v[i] = -v[i];
    }
}

// Axis times angle, the angle in [0, pi]. At a half turn the vector whose
// largest component (the first of equals) is positive.
void urMembers(const Transform& pose, double* out) {
    translationMembers(pose, millimetresPerMetre, out);
    const QuatPose q = nonNegativeQuaternion(pose);
    const double sine = std::hypot(q.q2, q.q3, q.q4);
    double* vector = out + 3;
    vector[0] = vector[1] = vector[2] = 0.0;
    if (!(sine > 0.0)) {
        return;
    }
    const double angle = 2.0 * std::atan2(sine, q.q1);
    vector[0] = q.q2 / sine * angle;
    vector[1] = q.q3 / sine * angle;
    vector[2] = q.q4 / sine * angle;
    if (angle > halfTurnRadians - halfTurnTolerance) {
        int largest = 0;
        for (int i = 1; i < 3; ++i) {
            if (std::fabs(vector[i]) > std::fabs(vector[largest])) {
                largest = i;
            }
        }
        if (vector[largest] < 0.0) {
            negateThree(vector);
        }
    }
}

bool urTransform(const double* members, Transform& pose, std::string&) {
    QuatPose q;
    const double angle = std::hypot(members[3], members[4], members[5]);
    if (angle > 0.0) {
        const double scale = std::sin(angle / 2.0) / angle;
        q.q1 = std::cos(angle / 2.0);
        q.q2 = members[3] * scale;
        q.q3 = members[4] * scale;
        q.q4 = members[5] * scale;
    }
    pose = transformFromQuatPose(q);
    placeTranslation(members, millimetresPerMetre, pose);
    return true;
}

// x, y, z in metres, then the quaternion x, y, z, w with w >= 0; at w = 0 the
// first non-zero of x, y, z is positive.
void rosMembers(const Transform& pose, double* out) {
    translationMembers(pose, millimetresPerMetre, out);
    const QuatPose q = nonNegativeQuaternion(pose);
    double* quaternion = out + 3;
    quaternion[0] = q.q2;
    quaternion[1] = q.q3;
    quaternion[2] = q.q4;
    quaternion[3] = q.q1;
    if (q.q1 == 0.0) {
        for (int i = 0; i < 3; ++i) {
            if (quaternion[i] != 0.0) {
                if (quaternion[i] < 0.0) {
                    negateThree(quaternion);
                }
                break;
            }
        }
    }
}

bool rosTransform(const double* members, Transform& pose, std::string& message) {
    QuatPose q;
    q.q2 = members[3];
    q.q3 = members[4];
    q.q4 = members[5];
    q.q1 = members[6];
    if (!q.normalize()) {
        message = "Unit length quaternion expected";
        return false;
    }
    pose = transformFromQuatPose(q);
    placeTranslation(members, millimetresPerMetre, pose);
    return true;
}

constexpr MemberFormat metres{6, 0.0};
constexpr MemberFormat radians{6, 0.0};
const MemberFormat urMemberFormats[] = {metres, metres, metres, radians, radians, radians};
constexpr MemberFormat shortest{shortestDecimals, 0.0};
const MemberFormat rosMemberFormats[] = {shortest, shortest, shortest, shortest,
                                         shortest, shortest, shortest};

const char* const urPieces[] = {"p[", ", ", ", ", ", ", ", ", ", ", "]"};
const char* const rosPieces[] = {
    "position: {x: ", ", y: ", ", z: ", "}\norientation: {x: ", ", y: ", ", z: ", ", w: ", "}"};

} // namespace

const NotationCodec urCodec{
    .form = {.pieces = urPieces, .members = urMemberFormats},
    .start = "p[",
    .expected = "expected p[x, y, z, rx, ry, rz] (UR: metres and radians)",
    .members = urMembers,
    .translationScale = millimetresPerMetre,
    .pose = urTransform,
};

const NotationCodec rosCodec{
    .form = {.pieces = rosPieces, .members = rosMemberFormats},
    .start = "position:",
    .expected = "expected position: {x: x, y: y, z: z} and orientation: {x: qx, y: qy, z: qz, "
                "w: qw} (ROS: metres)",
    .members = rosMembers,
    .pose = rosTransform,
};
