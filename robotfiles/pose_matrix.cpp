#include "robotfiles/pose_matrix.h"

#include "math/euler_pose.h"
#include "math/quat_pose.h"

#include <cstring>

namespace {

// The values of the named members in that order; false when one is missing.
bool membersOf(const PoseRecord& pose, const char* const* keys, int count, double* out) {
    for (int k = 0; k < count; ++k) {
        bool found = false;
        for (const PoseMember& member : pose.values) {
            if (member.key == keys[k]) {
                out[k] = member.value;
                found = true;
                break;
            }
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

} // namespace

bool transformOfRecord(const PoseRecord& pose, Transform& m) {
    if (pose.status != PoseStatus::ok) {
        return false;
    }
    double v[7];
    switch (pose.vendor) {
    case Vendor::kuka: {
        static const char* const keys[] = {"x", "y", "z", "a", "b", "c"};
        if (!membersOf(pose, keys, 6, v)) {
            return false;
        }
        m = transformFromEulerPose(EulerPose{v[0], v[1], v[2], v[3], v[4], v[5]});
        return true;
    }
    case Vendor::fanuc: {
        static const char* const keys[] = {"x", "y", "z", "w", "p", "r"};
        if (!membersOf(pose, keys, 6, v)) {
            return false;
        }
        // W turns about X and R about Z: stored as c and a.
        m = transformFromEulerPose(EulerPose{v[0], v[1], v[2], v[5], v[4], v[3]});
        return true;
    }
    case Vendor::abb: {
        static const char* const keys[] = {"x", "y", "z", "q1", "q2", "q3", "q4"};
        if (!membersOf(pose, keys, 7, v)) {
            return false;
        }
        QuatPose q;
        q.x = v[0];
        q.y = v[1];
        q.z = v[2];
        q.q1 = v[3];
        q.q2 = v[4];
        q.q3 = v[5];
        q.q4 = v[6];
        if (!q.normalize()) {
            return false;
        }
        m = transformFromQuatPose(q);
        return true;
    }
    }
    return false;
}
